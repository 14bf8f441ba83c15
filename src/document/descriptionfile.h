#pragma once

#include <QString>
#include <QStringList>

// The descriptions of entry numbers 0..150 kept in desc.txt, one line per entry.
constexpr int DescriptionCount = 151;
// A description's characters beyond this are not read: a tree label wider than the widest
// screen (500 characters are about 3,500 pixels) cannot be seen whole anyway.
constexpr int DescriptionLength = 500;

// Always returns DescriptionCount texts: line k of the file is the text of entry k (taken
// unchanged, no trimming, bytes decoded as Windows-1252, cut at DescriptionLength); empty
// lines and missing lines give empty texts; the file is not read past the 151st line. An
// unreadable file gives all empty.
QStringList readDescriptionFile(const QString &path);
