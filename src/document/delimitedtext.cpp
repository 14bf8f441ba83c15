#include "delimitedtext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(QChar c)
{
    return c == u' ';
}

} // namespace

QString toDelimitedText(const TextRows &rows, QChar separator)
{
    QString out;
    for (const QStringList &row : rows) {
        for (qsizetype column = 0; column < row.size(); ++column) {
            if (column > 0)
                out += separator;
            const QString &text = row[column];
            if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') &&
                !text.contains(u'\r')) {
                out += text;
                continue;
            }
            out += u'"';
            for (const QChar c : text) {
                if (c == u'"')
                    out += u'"';
                out += c;
            }
            out += u'"';
        }
        out += u"\r\n"_s;
    }
    return out;
}

TextRows fromDelimitedText(QStringView text, QChar separator, qsizetype maximumCells)
{
    TextRows rows;
    QStringList row;
    QString cell;
    qsizetype cells = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto isCellEnd = [&](qsizetype at) {
        return text[at] == separator || text[at] == u'\n' || text[at] == u'\r';
    };
    while (i < size && cells < maximumCells) {
        if (text[i] == u'"' && std::all_of(cell.cbegin(), cell.cend(), isBlank)) {
            // Quoted up to a lone quote; what follows it up to the cell's end stays as typed.
            cell.clear();
            for (++i; i < size; ++i) {
                if (text[i] == u'"') {
                    if (i + 1 < size && text[i + 1] == u'"')
                        ++i;
                    else
                        break;
                }
                cell += text[i];
            }
            i = std::min(i + 1, size); // past the closing quote, if there is one
            qsizetype after = i;
            while (after < size && !isCellEnd(after) && isBlank(text[after]))
                ++after;
            if (after == size || isCellEnd(after))
                i = after;
            while (i < size && !isCellEnd(i))
                cell += text[i++];
            continue;
        }
        const QChar c = text[i++];
        if (c == separator) {
            row.append(std::exchange(cell, {}));
            ++cells;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i < size && text[i] == u'\n')
                ++i;
            row.append(std::exchange(cell, {}));
            rows.append(std::exchange(row, {}));
            ++cells;
        } else {
            cell += c;
        }
    }
    // The last row has no line end, or it ended with the one spreadsheets add.
    if (!cell.isEmpty() || !row.isEmpty() || rows.isEmpty()) {
        row.append(cell);
        rows.append(row);
    }
    return rows;
}
