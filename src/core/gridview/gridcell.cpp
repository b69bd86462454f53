#include "catalog/messages.h"
#include "gridview/gridconvert.h"
#include "gridview/griddata.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace vq::gridconvert {

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

} // namespace

std::optional<int> tryInteger(const QString &text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok)
        return v;
    return std::nullopt;
}

std::optional<double> tryFloat(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double v = t.toDouble(&ok); // the C locale's form
    if (ok)
        return v;
    // Lists typed by people use the decimal comma of their locale.
    v = QLocale::system().toDouble(t, &ok);
    if (ok)
        return v;
    if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.'))) {
        QString dotted = t;
        dotted.replace(QLatin1Char(','), QLatin1Char('.'));
        v = QLocale::c().toDouble(dotted, &ok);
        if (ok)
            return v;
    }
    return std::nullopt;
}

std::optional<bool> tryBoolean(const QString &text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto n = tryFloat(t))
        return *n != 0.0;
    return std::nullopt;
}

std::optional<QDateTime> tryDateTime(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (dt.isValid())
        return dt;
    static const char *const formats[] = {"yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd hh:mm", "yyyy-MM-dd",
                                          "dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy hh:mm", "dd.MM.yyyy",
                                          "dd.MM.yyyy h:mm:ss",  "dd.MM.yyyy h:mm"};
    for (const char *f : formats) {
        dt = QDateTime::fromString(t, QLatin1String(f));
        if (dt.isValid())
            return dt;
    }
    const QLocale loc = QLocale::system();
    for (QLocale::FormatType ft : {QLocale::ShortFormat, QLocale::LongFormat}) {
        dt = loc.toDateTime(t, ft);
        if (dt.isValid())
            return dt;
        const QDate d = loc.toDate(t, ft);
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }
    return std::nullopt;
}

int toInteger(const QString &text) {
    if (const auto v = tryInteger(text))
        return *v;
    throw Error(msg::notAnInteger(text));
}

double toFloat(const QString &text) {
    if (const auto v = tryFloat(text))
        return *v;
    throw Error(msg::notANumber(text));
}

bool toBoolean(const QString &text) {
    if (const auto v = tryBoolean(text))
        return *v;
    throw Error(msg::notABoolean(text));
}

QDateTime toDateTime(const QString &text) {
    if (const auto v = tryDateTime(text))
        return *v;
    throw Error(msg::notADateTime(text));
}

int roundToInteger(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max()))
        throw Error(msg::notAnInteger(fromFloat(v)));
    return static_cast<int>(r);
}

QString fromFloat(double v) {
    if (v == 0.0)
        return QStringLiteral("0"); // also for -0
    return QString::number(v, 'g', 15);
}

QString fromBoolean(bool v) {
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

QString fromDateTime(const QDateTime &v) {
    if (!v.isValid())
        return QString();
    if (v.time() == QTime(0, 0))
        return v.toString(QStringLiteral("yyyy-MM-dd"));
    return v.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

double dayNumber(const QDateTime &v) {
    if (!v.isValid())
        return 0.0;
    const double days = static_cast<double>(kDayZero.daysTo(v.date()));
    const double frac = v.time().msecsSinceStartOfDay() / kMsPerDay;
    return days < 0 ? days - frac : days + frac;
}

QDateTime fromDayNumber(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return QDateTime();
    const double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    qint64 dayShift = 0;
    if (ms >= static_cast<qint64>(kMsPerDay)) { // rounding reached the next midnight
        ms = 0;
        dayShift = days < 0 ? -1 : 1;
    }
    const QDate d = kDayZero.addDays(static_cast<qint64>(whole) + dayShift);
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

} // namespace vq::gridconvert

namespace vq {

using namespace gridconvert;

GridColumn &GridCell::column() const {
    return m_grid->Column(m_col);
}

ColumnKind GridCell::Kind() const {
    return column().m_kind;
}

QString GridCell::AsString() const {
    const GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        return m_grid->textOf(c, r);
    case ColumnKind::Numeric:
        return fromFloat(c.m_number[r]);
    case ColumnKind::CheckBox:
        return fromBoolean(c.m_flag[r] != 0);
    }
    return QString();
}

void GridCell::SetAsString(const QString &v) {
    GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        m_grid->setOwnText(c, r, v);
        break;
    case ColumnKind::Numeric:
        c.m_number[r] = toFloat(v);
        break;
    case ColumnKind::CheckBox:
        c.m_flag[r] = toBoolean(v) ? 1 : 0;
        break;
    }
    m_grid->cellChanged(m_col, m_row);
}

int GridCell::AsInteger() const {
    const GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        return toInteger(m_grid->textOf(c, r));
    case ColumnKind::Numeric:
        return roundToInteger(c.m_number[r]);
    case ColumnKind::CheckBox:
        return c.m_flag[r] ? 1 : 0;
    }
    return 0;
}

void GridCell::SetAsInteger(int v) {
    GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        m_grid->setOwnText(c, r, QString::number(v));
        break;
    case ColumnKind::Numeric:
        c.m_number[r] = v;
        break;
    case ColumnKind::CheckBox:
        c.m_flag[r] = v != 0;
        break;
    }
    m_grid->cellChanged(m_col, m_row);
}

double GridCell::AsFloat() const {
    const GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        return toFloat(m_grid->textOf(c, r));
    case ColumnKind::Numeric:
        return c.m_number[r];
    case ColumnKind::CheckBox:
        return c.m_flag[r] ? 1.0 : 0.0;
    }
    return 0.0;
}

void GridCell::SetAsFloat(double v) {
    GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        m_grid->setOwnText(c, r, fromFloat(v));
        break;
    case ColumnKind::Numeric:
        c.m_number[r] = v;
        break;
    case ColumnKind::CheckBox:
        c.m_flag[r] = v != 0.0;
        break;
    }
    m_grid->cellChanged(m_col, m_row);
}

bool GridCell::AsBoolean() const {
    const GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        return toBoolean(m_grid->textOf(c, r));
    case ColumnKind::Numeric:
        return c.m_number[r] != 0.0;
    case ColumnKind::CheckBox:
        return c.m_flag[r] != 0;
    }
    return false;
}

void GridCell::SetAsBoolean(bool v) {
    GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        m_grid->setOwnText(c, r, fromBoolean(v));
        break;
    case ColumnKind::Numeric:
        c.m_number[r] = v ? 1.0 : 0.0;
        break;
    case ColumnKind::CheckBox:
        c.m_flag[r] = v;
        break;
    }
    m_grid->cellChanged(m_col, m_row);
}

QDateTime GridCell::AsDateTime() const {
    const GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        return toDateTime(m_grid->textOf(c, r));
    case ColumnKind::Numeric:
        return fromDayNumber(c.m_number[r]);
    case ColumnKind::CheckBox:
        return fromDayNumber(c.m_flag[r] ? 1.0 : 0.0);
    }
    return QDateTime();
}

void GridCell::SetAsDateTime(const QDateTime &v) {
    GridColumn &c = column();
    const auto r = static_cast<size_t>(m_row);
    switch (c.m_kind) {
    case ColumnKind::Text:
        m_grid->setOwnText(c, r, fromDateTime(v));
        break;
    case ColumnKind::Numeric:
        c.m_number[r] = dayNumber(v);
        break;
    case ColumnKind::CheckBox:
        c.m_flag[r] = dayNumber(v) != 0.0;
        break;
    }
    m_grid->cellChanged(m_col, m_row);
}

GridColor GridCell::Color() const {
    return column().m_colors[static_cast<size_t>(m_row)];
}

void GridCell::SetColor(GridColor color) {
    GridColor &slot = column().m_colors[static_cast<size_t>(m_row)];
    if (slot == color)
        return;
    slot = color;
    m_grid->notifyCell(m_col, m_row);
}

} // namespace vq
