#include "listimport.h"

#include "catalog/catalog.h"
#include "catalog/catalogsession.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "gridview/griddata.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace vq {

namespace {

const QString kTitle = QStringLiteral("Название");
const QString kType = QStringLiteral("NType");
const QString kEpisodes = QStringLiteral("Количество серий");
const QString kComment = QStringLiteral("Комментарий");

// Summary grid columns the preview takes its widths from.
constexpr int kSummaryTitle = 0;
constexpr int kSummaryType = 1;
constexpr int kSummaryEpisodes = 2;
constexpr int kSummaryComment = 9;

// Lines split at CR, LF or CR LF; a final line break adds no empty line. The same for bytes and text.
template <typename S, typename Ch> QList<S> splitLines(const S &text, Ch cr, Ch lf) {
    QList<S> lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto ch = text.at(i);
        if (ch != cr && ch != lf)
            continue;
        lines << text.mid(start, i - start);
        if (ch == cr && i + 1 < n && text.at(i + 1) == lf)
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

// glibc's converter, for a Qt built without ICU (QStringDecoder then knows no Windows code pages).
// Empty when a byte is not in the code page.
std::optional<QString> decodeCp1251WithIconv(const QByteArray &bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    if (cd == iconv_t(-1))
        throw Error(msg::noCp1251Converter());
    QByteArray out;
    out.resize(bytes.size() * 3 + 16);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t outLeft = size_t(out.size());
    const bool ok = iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.truncate(qsizetype(dst - out.data()));
    return QString::fromUtf8(out);
}

std::optional<QString> decodeCp1251(const QByteArray &bytes) {
    QStringDecoder cp1251("windows-1251");
    if (!cp1251.isValid())
        return decodeCp1251WithIconv(bytes);
    QString text = cp1251(bytes);
    if (cp1251.hasError())
        return std::nullopt;
    // The one byte the code page leaves undefined comes back as a control character, or as a mark.
    for (QChar ch : text)
        if (ch == QChar::ReplacementCharacter || (ch.unicode() >= 0x80 && ch.unicode() <= 0x9F))
            return std::nullopt;
    return text;
}

std::optional<QString> decodeUtf8(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

// The UTF-16 text of a list with a UTF-16 byte-order mark; nothing when it has none.
std::optional<QString> decodeUtf16(const QByteArray &bytes) {
    std::optional<QStringDecoder::Encoding> encoding;
    if (bytes.startsWith("\xFF\xFE"))
        encoding = QStringDecoder::Utf16LE;
    else if (bytes.startsWith("\xFE\xFF"))
        encoding = QStringDecoder::Utf16BE;
    if (!encoding)
        return std::nullopt;
    if (bytes.size() % 2 != 0)
        throw Error(msg::listOddUtf16Length());
    QStringDecoder decoder(*encoding, QStringDecoder::Flag::Stateless);
    return decoder(bytes.mid(2));
}

} // namespace

QStringList wizardItemTexts() {
    return {QCoreApplication::translate("ListImport", "Название"),
            QCoreApplication::translate("ListImport", "Тип"),
            QCoreApplication::translate("ListImport", "Серии"),
            QCoreApplication::translate("ListImport", "Тип и Серии (если в одном поле)"),
            QCoreApplication::translate("ListImport", "Комментарий")};
}

QStringList WizardColumnCaptions() {
    return {QCoreApplication::translate("ListImport", "Название"),
            QCoreApplication::translate("ListImport", "Тип"),
            QCoreApplication::translate("ListImport", "Серии"),
            QCoreApplication::translate("ListImport", "Тип и Серии"),
            QCoreApplication::translate("ListImport", "Комментарий")};
}

WizardChecks defaultWizardChecks() {
    return {true, true, true, false, true};
}

void applyCheckRule(WizardChecks &checks) {
    if (checks[wizard::TypeAndEpisodes]) {
        checks[wizard::Type] = false;
        checks[wizard::Episodes] = false;
    }
}

QString decodeListText(const QByteArray &bytes) {
    if (std::optional<QString> utf16 = decodeUtf16(bytes))
        return *utf16;
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    if (std::optional<QString> text = decodeUtf8(data))
        return *text;
    // A byte the code page leaves undefined: replacement marks rather than nothing.
    return decodeCp1251(data).value_or(QString::fromUtf8(data));
}

QStringList decodeListLines(const QByteArray &bytes) {
    if (std::optional<QString> utf16 = decodeUtf16(bytes)) {
        const QStringList lines = splitListLines(*utf16);
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].contains(QChar(u'\0')))
                throw Error(msg::listNulByte(int(i + 1)));
        return lines;
    }
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const QList<QByteArray> raw = splitLines(data, '\r', '\n');
    // A NUL is no character of a title in any code page: most likely a UTF-16 list without its mark.
    for (qsizetype i = 0; i < raw.size(); ++i)
        if (raw[i].contains('\0'))
            throw Error(msg::listNulByte(int(i + 1)));
    if (std::optional<QString> text = decodeUtf8(data))
        return splitListLines(*text);
    QStringList lines;
    lines.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        std::optional<QString> line = decodeUtf8(raw[i]);
        if (!line)
            line = decodeCp1251(raw[i]);
        if (!line)
            throw Error(msg::listUndecodableLine(int(i + 1)));
        lines << *line;
    }
    return lines;
}

QStringList splitListLines(const QString &text) {
    return splitLines(text, QChar(u'\r'), QChar(u'\n'));
}

QStringList readListFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("The list \"%1\" cannot be read: %2").arg(path, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("The list \"%1\" cannot be read: %2").arg(path, f.errorString()));
    return decodeListLines(bytes);
}

void buildPreview(GridData &preview, const WizardChecks &checks, const GridData &summary,
                  const QStringList &lines) {
    const QStringList captions = WizardColumnCaptions();
    auto summaryWidth = [&](int col) {
        return col < summary.ColumnCount() ? summary.Column(col).Width() : GridColumn::MinWidth;
    };
    preview.ClearRows();
    preview.ClearColumns();
    const int widths[] = {
        summaryWidth(kSummaryTitle), summaryWidth(kSummaryType), summaryWidth(kSummaryEpisodes),
        summaryWidth(kSummaryType) + summaryWidth(kSummaryEpisodes), summaryWidth(kSummaryComment)};
    for (int item = 0; item < wizard::ItemCount; ++item) {
        if (checks[size_t(item)])
            preview.AddTextColumn(captions[item]).SetWidth(widths[item]);
    }
    FillGridFromList(preview, lines);
}

void FillGridFromList(GridData &grid, const QStringList &lines) {
    if (lines.isEmpty())
        return;
    const int last = std::min<qsizetype>(grid.ColumnCount() - 1, lines.first().count(u'\t'));
    const int first = grid.RowCount();
    grid.AddRows(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        qsizetype pos = 0;
        for (int c = 0; c <= last && pos <= line.size(); ++c) {
            qsizetype tab = line.indexOf(u'\t', pos);
            if (tab < 0)
                tab = line.size();
            const QString field = line.mid(pos, tab - pos);
            if (!field.isEmpty())
                grid.SetCellText(c, first + i, field);
            pos = tab + 1;
        }
    }
}

std::optional<int> typeFromText(const QString &text) {
    if (text.isEmpty())
        return std::nullopt;
    switch (text.at(0).unicode()) {
    case u'M':
        return 2;
    case u'O':
        return 1;
    case u'T':
        return 3;
    default:
        return 4;
    }
}

TypeAndEpisodes splitTypeAndEpisodes(const QString &cell) {
    if (cell.isEmpty())
        return {4, QString()};
    int type = 4;
    qsizetype cut = 0;
    switch (cell.at(0).unicode()) {
    case u'O':
        type = 1;
        cut = 3;
        break;
    case u'M':
        type = 2;
        cut = 5;
        break;
    case u'T':
        type = 3;
        cut = 2;
        break;
    default:
        break;
    }
    QString rest = cell.mid(cut);
    if (rest.isEmpty())
        rest = QStringLiteral("1");
    return {type, rest};
}

ImportResult importPreviewRows(CatalogSession &session, const GridData &preview, const WizardChecks &checks,
                               int firstRow, const ImportProgress &progress) {
    ImportResult result;
    const int rows = preview.RowCount();
    if (firstRow >= rows)
        return result;
    DataSet &name = session.Name;
    if (!name.isOpen())
        name.open();
    // Every posted row rebuilds the data set's view; a filter that passes nothing keeps that
    // cheap on large catalogs. The list is shown unfiltered again afterwards.
    name.setFilter(Filter::equals(QStringLiteral("ID"), 0));
    name.setFiltered(true);
    struct Unfilter {
        DataSet &ds;
        ~Unfilter() {
            ds.setFiltered(false);
            ds.setFilter(Filter());
        }
    } unfilter{name};
    Catalog::Transaction transaction(session.catalog());
    for (int r = firstRow; r < rows; ++r) {
        try {
            name.append();
            int c = 0;
            if (checks[wizard::Title])
                name.setValue(kTitle, preview.GetCellText(c++, r));
            if (checks[wizard::Type]) {
                if (const auto type = typeFromText(preview.GetCellText(c++, r)))
                    name.setValue(kType, *type);
            } else {
                name.setValue(kType, 4);
            }
            if (checks[wizard::Episodes])
                name.setValue(kEpisodes, preview.GetCellText(c++, r));
            if (checks[wizard::TypeAndEpisodes]) {
                const TypeAndEpisodes te = splitTypeAndEpisodes(preview.GetCellText(c++, r));
                name.setValue(kType, te.type);
                name.setValue(kEpisodes, te.episodes);
            }
            if (checks[wizard::Comment])
                name.setValue(kComment, preview.GetCellText(c++, r));
            name.post();
        } catch (const Error &e) {
            if (name.state() == DataSet::Insert)
                name.cancel();
            result.failedRow = r;
            result.error = e.message();
            break;
        }
        ++result.imported;
        if (progress)
            progress(result.imported, rows - firstRow);
    }
    transaction.commit();
    return result;
}

QString refusedRowMessage(int lineNo, int before, const QString &reason) {
    return msg::listRowRefused(lineNo, before, reason);
}

} // namespace vq
