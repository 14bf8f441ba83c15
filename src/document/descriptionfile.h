#pragma once

#include <QString>
#include <QStringList>

// The descriptions of entry numbers 0..150 kept in desc.txt, one line per entry.
constexpr int DescriptionCount = 151;

// Always returns DescriptionCount texts: line k of the file is the text of entry k (taken
// unchanged, no trimming, bytes decoded as Windows-1252); empty lines and missing lines
// give empty texts; lines after the 151st are ignored. An unreadable file gives all empty.
QStringList readDescriptionFile(const QString &path);
