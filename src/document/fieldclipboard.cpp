#include "fieldclipboard.h"

#include "delimitedtext.h"
#include "fieldformat.h"
#include "fixedfield.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QMimeData>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// No block pasted anywhere is larger: every field of the largest file and one to spare.
constexpr qsizetype MaximumCells = qsizetype(MaximumCount + 1) * (MaximumCount + 2);

QString htmlCellText(QStringView source)
{
    static const QRegularExpression lineBreak(u"<br\\s*/?>"_s,
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(u"<[^>]*>"_s);
    static const QRegularExpression sourceLineEnd(u"[ \\t]*[\\r\\n]+[ \\t]*"_s);
    static const QRegularExpression entity(u"&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);"_s);
    QString text = source.toString();
    if (!text.contains(u'<') && !text.contains(u'&') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    text.replace(lineBreak, u"\x01"_s); // a line end of the text, not of the source
    text.remove(tag);
    text.replace(sourceLineEnd, u"\n"_s);
    if (text.startsWith(u'\n'))
        text.remove(0, 1);
    if (text.endsWith(u'\n'))
        text.chop(1);
    text.replace(u'\n', u' ').replace(u'\x01', u'\n');
    QString decoded;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        decoded += QStringView(text).mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const QString name = match.captured(1);
        static const QHash<QString, QString> named{{u"amp"_s, u"&"_s},  {u"lt"_s, u"<"_s},
                                                   {u"gt"_s, u">"_s},   {u"quot"_s, u"\""_s},
                                                   {u"apos"_s, u"'"_s}, {u"nbsp"_s, u"\u00a0"_s}};
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint point = name.startsWith(u"#x", Qt::CaseInsensitive)
                                   ? name.mid(2).toUInt(&ok, 16)
                                   : name.mid(1).toUInt(&ok, 10);
            const char32_t character = char32_t(point);
            decoded +=
                ok && point <= 0x10ffff ? QString::fromUcs4(&character, 1) : match.captured();
        } else {
            decoded += named.value(name, match.captured());
        }
    }
    decoded += QStringView(text).mid(from);
    return decoded;
}

} // namespace

TextRows cellTexts(const FieldBlock &block)
{
    TextRows rows(block.rows);
    for (int row = 0; row < block.rows; ++row)
        for (int column = 0; column < block.columns; ++column)
            rows[row].append(block.cell(row, column).text);
    return rows;
}

FieldBlock blockOfTexts(TextRows rows)
{
    FieldBlock block;
    block.rows = int(rows.size());
    for (const QStringList &row : rows)
        block.columns = std::max(block.columns, int(row.size()));
    block.cells.reserve(qsizetype(block.rows) * block.columns);
    for (QStringList &row : rows) {
        row.resize(block.columns);
        for (QString &text : row)
            block.cells.append({std::move(text), {}});
    }
    return block;
}

QString toTabSeparated(const FieldBlock &block)
{
    return toDelimitedText(cellTexts(block), u'\t');
}

FieldBlock fromTabSeparated(QStringView text)
{
    return blockOfTexts(fromDelimitedText(text, u'\t', MaximumCells));
}

QString toHtmlTable(const FieldBlock &block)
{
    QString out = u"<table>"_s;
    for (int row = 0; row < block.rows; ++row) {
        out += u"<tr>"_s;
        for (int column = 0; column < block.columns; ++column)
            out += u"<td>"_s + block.cell(row, column).text.toHtmlEscaped() + u"</td>"_s;
        out += u"</tr>\n"_s;
    }
    return out + u"</table>"_s;
}

std::optional<FieldBlock> fromHtmlTable(QStringView html)
{
    static const QRegularExpression table(u"<table\\b"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression part(u"<(/?)(tr|td|th|table)\\b[^>]*>"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch start = table.match(html);
    if (!start.hasMatch())
        return std::nullopt;
    QList<QStringList> rows;
    qsizetype cellStart = -1; // where the open cell's text begins
    qsizetype cells = 0;
    const auto closeCell = [&](qsizetype end) {
        if (cellStart < 0)
            return;
        if (rows.isEmpty())
            rows.append(QStringList());
        rows.last().append(htmlCellText(html.mid(cellStart, end - cellStart)));
        cellStart = -1;
        ++cells;
    };
    for (QRegularExpressionMatchIterator it = part.globalMatch(html, start.capturedEnd());
         it.hasNext() && cells < MaximumCells;) {
        const QRegularExpressionMatch match = it.next();
        const bool closing = !match.capturedView(1).isEmpty();
        const QString name = match.captured(2).toLower();
        if (name == u"table" && closing)
            break;
        closeCell(match.capturedStart());
        if (name == u"tr" && !closing)
            rows.append(QStringList());
        else if (!closing && name != u"tr" && name != u"table")
            cellStart = match.capturedEnd();
    }
    closeCell(html.size());
    rows.removeIf([](const QStringList &row) { return row.isEmpty(); });
    if (rows.isEmpty())
        return std::nullopt;
    return blockOfTexts(std::move(rows));
}

QByteArray toFieldBytes(const FieldBlock &block)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << qint32(block.rows) << qint32(block.columns);
    for (const FieldCell &cell : block.cells)
        out << cell.bytes;
    return bytes;
}

std::optional<FieldBlock> fromFieldBytes(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    qint32 rows = 0;
    qint32 columns = 0;
    in >> rows >> columns;
    if (rows < 1 || columns < 1 || qsizetype(rows) * columns > MaximumCells)
        return std::nullopt;
    FieldBlock block{rows, columns, {}};
    block.cells.reserve(qsizetype(rows) * columns);
    for (qsizetype i = 0; i < qsizetype(rows) * columns; ++i) {
        QByteArray field;
        in >> field;
        if (in.status() != QDataStream::Ok || field.size() > NameWidth)
            return std::nullopt;
        block.cells.append({fieldText(field), field});
    }
    return block;
}

std::unique_ptr<QMimeData> fieldsMimeData(const FieldBlock &block)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(FieldsMimeType), toFieldBytes(block));
    data->setHtml(toHtmlTable(block));
    data->setText(toTabSeparated(block));
    return data;
}

std::optional<FieldBlock> fieldsFromMimeData(const QMimeData &data)
{
    if (data.hasFormat(QString::fromLatin1(FieldsMimeType)))
        if (auto block = fromFieldBytes(data.data(QString::fromLatin1(FieldsMimeType))))
            return block;
    if (data.hasHtml())
        if (auto block = fromHtmlTable(data.html()))
            return block;
    if (data.hasText() && !data.text().isEmpty())
        return fromTabSeparated(data.text());
    return std::nullopt;
}
