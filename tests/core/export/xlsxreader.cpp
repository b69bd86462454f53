#include "xlsxreader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <stdexcept>

namespace vqtest {

QByteArray unzipMember(const QString &zip, const QString &member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!unzip.waitForStarted(30000))
        throw std::runtime_error("cannot run unzip (Debian package unzip) to read the xlsx file back");
    if (!unzip.waitForFinished(30000) || unzip.exitStatus() != QProcess::NormalExit)
        throw std::runtime_error("unzip failed");
    return unzip.readAllStandardOutput();
}

namespace {

std::pair<int, int> parseRef(QStringView ref) {
    int column = 0, i = 0;
    while (i < ref.size() && ref[i].isLetter()) {
        column = column * 26 + (ref[i].unicode() - 'A' + 1);
        ++i;
    }
    return {ref.mid(i).toInt(), column};
}

// Undoes the _xHHHH_ escapes the file format uses for characters XML cannot hold.
QString unescape(const QString &text) {
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

// Text of a string item: the <t> elements it holds, concatenated.
QString readItemText(QXmlStreamReader &xml, const QString &endName) {
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"t")
            text += unescape(xml.readElementText());
        else if (xml.isEndElement() && xml.name() == endName)
            break;
    }
    return text;
}

} // namespace

XlsxBook::XlsxBook(const QString &path) {
    const QByteArray workbook = unzipMember(path, QStringLiteral("xl/workbook.xml"));
    if (workbook.isEmpty())
        throw std::runtime_error("not an xlsx file");
    for (QXmlStreamReader xml(workbook); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet")
            m_sheetNames << xml.attributes().value(QLatin1String("name")).toString();
    }

    std::vector<QString> shared;
    for (QXmlStreamReader xml(unzipMember(path, QStringLiteral("xl/sharedStrings.xml"))); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            shared.push_back(readItemText(xml, QStringLiteral("si")));
    }

    for (QXmlStreamReader xml(unzipMember(path, QStringLiteral("xl/styles.xml"))); !xml.atEnd();) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"fonts") {
            while (!(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"fonts")) {
                if (xml.isStartElement() && xml.name() == u"font")
                    m_fonts.emplace_back();
                else if (xml.isStartElement() && xml.name() == u"b")
                    m_fonts.back().bold = true;
                else if (xml.isStartElement() && xml.name() == u"sz")
                    m_fonts.back().size = xml.attributes().value(QLatin1String("val")).toDouble();
                else if (xml.isStartElement() && xml.name() == u"color" &&
                         xml.attributes().hasAttribute(QLatin1String("rgb")))
                    m_fonts.back().rgb = xml.attributes().value(QLatin1String("rgb")).toString().right(6);
            }
        } else if (xml.isStartElement() && xml.name() == u"cellXfs") {
            while (!(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")) {
                if (xml.isStartElement() && xml.name() == u"xf")
                    m_styleFont.push_back(xml.attributes().value(QLatin1String("fontId")).toInt());
            }
        }
    }

    m_sheetXml = QString::fromUtf8(unzipMember(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    for (QXmlStreamReader xml(m_sheetXml); !xml.atEnd();) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto attrs = xml.attributes();
        if (xml.name() == u"col") {
            XlsxColumn col{attrs.value(QLatin1String("width")).toDouble(),
                           attrs.value(QLatin1String("style")).toInt()};
            for (int c = attrs.value(QLatin1String("min")).toInt();
                 c <= attrs.value(QLatin1String("max")).toInt(); ++c)
                m_columns[c] = col;
        } else if (xml.name() == u"row") {
            if (attrs.value(QLatin1String("customFormat")) == u"1")
                m_rowStyles[attrs.value(QLatin1String("r")).toInt()] =
                    attrs.value(QLatin1String("s")).toInt();
        } else if (xml.name() == u"c") {
            XlsxCell cell;
            const auto ref = parseRef(attrs.value(QLatin1String("r")));
            cell.type = attrs.value(QLatin1String("t")).toString();
            cell.style = attrs.value(QLatin1String("s")).toInt();
            while (!(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"c")) {
                if (xml.isStartElement() && xml.name() == u"f")
                    cell.hasFormula = true;
                else if (xml.isStartElement() && xml.name() == u"v") {
                    const QString v = xml.readElementText();
                    cell.text = cell.type == u"s" ? shared.at(v.toULongLong()) : v;
                } else if (xml.isStartElement() && xml.name() == u"is")
                    cell.text = readItemText(xml, QStringLiteral("is"));
            }
            if (cell.type.isEmpty() && !cell.text.isEmpty())
                cell.type = QStringLiteral("n");
            m_cells[ref] = cell;
        }
    }
    if (m_fonts.empty() || m_styleFont.empty())
        throw std::runtime_error("no styles");
}

XlsxCell XlsxBook::cell(int row, int column) const {
    auto it = m_cells.find({row, column});
    return it == m_cells.end() ? XlsxCell{} : it->second;
}

std::vector<std::pair<int, int>> XlsxBook::filledCells() const {
    std::vector<std::pair<int, int>> out;
    for (const auto &[ref, cell] : m_cells) {
        if (!cell.type.isEmpty() || cell.hasFormula)
            out.push_back(ref);
    }
    return out;
}

XlsxColumn XlsxBook::column(int column) const {
    auto it = m_columns.find(column);
    return it == m_columns.end() ? XlsxColumn{} : it->second;
}

int XlsxBook::rowStyle(int row) const {
    auto it = m_rowStyles.find(row);
    return it == m_rowStyles.end() ? 0 : it->second;
}

XlsxFont XlsxBook::font(int style) const {
    return m_fonts.at(m_styleFont.at(style));
}

} // namespace vqtest
