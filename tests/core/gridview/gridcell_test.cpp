#include "gridview/griddata.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace vq;

namespace {

// One grid with a column of each kind and one row.
struct Cells {
    GridData grid;
    Cells() {
        grid.AddColumn(ColumnKind::Text, QStringLiteral("text"));
        grid.AddColumn(ColumnKind::Numeric, QStringLiteral("number"));
        grid.AddColumn(ColumnKind::CheckBox, QStringLiteral("flag"));
        grid.AddRows(1);
    }
    GridCell cell(ColumnKind k) { return grid.CellAt(static_cast<int>(k), 0); }
};

struct Conversion {
    const char *name;
    ColumnKind kind;
    std::function<void(GridCell &)> write;
    const char *asString;
    std::optional<int> asInteger;  // nullopt: reading raises
    std::optional<double> asFloat; // nullopt: reading raises
    std::optional<bool> asBoolean; // nullopt: reading raises
};
void PrintTo(const Conversion &c, std::ostream *os) {
    *os << c.name;
}

class CellConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(CellConversion, EveryAccessorAnswers) {
    const Conversion &c = GetParam();
    Cells cells;
    GridCell cell = cells.cell(c.kind);
    c.write(cell);
    EXPECT_EQ(cell.AsString(), QString::fromUtf8(c.asString));
    if (c.asInteger)
        EXPECT_EQ(cell.AsInteger(), *c.asInteger);
    else
        EXPECT_THROW(cell.AsInteger(), Error);
    if (c.asFloat)
        EXPECT_DOUBLE_EQ(cell.AsFloat(), *c.asFloat);
    else
        EXPECT_THROW(cell.AsFloat(), Error);
    if (c.asBoolean)
        EXPECT_EQ(cell.AsBoolean(), *c.asBoolean);
    else
        EXPECT_THROW(cell.AsBoolean(), Error);
}

auto str(const char *s) {
    return [s](GridCell &c) { c.SetAsString(QString::fromUtf8(s)); };
}
auto integer(int v) {
    return [v](GridCell &c) { c.SetAsInteger(v); };
}
auto real(double v) {
    return [v](GridCell &c) { c.SetAsFloat(v); };
}
auto boolean(bool v) {
    return [v](GridCell &c) { c.SetAsBoolean(v); };
}

const ColumnKind T = ColumnKind::Text, N = ColumnKind::Numeric, B = ColumnKind::CheckBox;

INSTANTIATE_TEST_SUITE_P(
    Kinds, CellConversion,
    ::testing::Values(
        // Text cells keep the text and convert on reading.
        Conversion{"TextInteger", T, integer(-42), "-42", -42, -42.0, true},
        Conversion{"TextDecimal", T, str("3.5"), "3.5", std::nullopt, 3.5, true},
        Conversion{"TextDecimalComma", T, str("3,25"), "3,25", std::nullopt, 3.25, true},
        Conversion{"TextPadded", T, str(" 17 "), " 17 ", 17, 17.0, true},
        Conversion{"TextWord", T, str("Наруто"), "Наруто", std::nullopt, std::nullopt, std::nullopt},
        Conversion{"TextEmpty", T, str(""), "", std::nullopt, std::nullopt, std::nullopt},
        Conversion{"TextTrue", T, str("TRUE"), "TRUE", std::nullopt, std::nullopt, true},
        Conversion{"TextFalse", T, str("false"), "false", std::nullopt, std::nullopt, false},
        Conversion{"TextZero", T, str("0"), "0", 0, 0.0, false},
        Conversion{"TextFromFloat", T, real(2.5), "2.5", std::nullopt, 2.5, true},
        Conversion{"TextFromBoolean", T, boolean(true), "True", std::nullopt, std::nullopt, true},
        Conversion{"TextTooBigForInteger", T, str("3000000000"), "3000000000", std::nullopt, 3e9, true},
        // Numeric cells hold a float; integers round half to even.
        Conversion{"NumberFromText", N, str("12.75"), "12.75", 13, 12.75, true},
        Conversion{"NumberHalfDown", N, str("2.5"), "2.5", 2, 2.5, true},
        Conversion{"NumberHalfUp", N, str("3.5"), "3.5", 4, 3.5, true},
        Conversion{"NumberInteger", N, integer(7), "7", 7, 7.0, true},
        Conversion{"NumberZero", N, integer(0), "0", 0, 0.0, false},
        Conversion{"NumberNegativeZero", N, real(-0.0), "0", 0, 0.0, false},
        Conversion{"NumberHuge", N, real(1e12), "1000000000000", std::nullopt, 1e12, true},
        Conversion{"NumberFromBoolean", N, boolean(true), "1", 1, 1.0, true},
        // Check-box cells hold a flag.
        Conversion{"FlagFromText", B, str("true"), "True", 1, 1.0, true},
        Conversion{"FlagFromDigit", B, str("0"), "False", 0, 0.0, false},
        Conversion{"FlagFromInteger", B, integer(5), "True", 1, 1.0, true},
        Conversion{"FlagFromFloat", B, real(0.0), "False", 0, 0.0, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CellConversion, TextThatDoesNotConvertNamesItself) {
    Cells cells;
    GridCell cell = cells.cell(T);
    cell.SetAsString(QStringLiteral("abc"));
    try {
        (void)cell.AsInteger();
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' не является целым числом"));
    }
}

TEST(CellConversion, RefusedTextLeavesTheCellAsItWas) {
    Cells cells;
    GridCell number = cells.cell(N);
    number.SetAsInteger(9);
    EXPECT_THROW(number.SetAsString(QStringLiteral("nine")), Error);
    EXPECT_EQ(number.AsInteger(), 9);

    GridCell flag = cells.cell(B);
    flag.SetAsBoolean(true);
    EXPECT_THROW(flag.SetAsString(QStringLiteral("maybe")), Error);
    EXPECT_TRUE(flag.AsBoolean());
}

TEST(CellConversion, DatesRoundTripThroughEveryKind) {
    Cells cells;
    const QDateTime noon(QDate(2023, 3, 15), QTime(12, 0));
    // Day numbers count from 1899-12-30; 45000.5 is noon of 2023-03-15.
    GridCell number = cells.cell(N);
    number.SetAsDateTime(noon);
    EXPECT_DOUBLE_EQ(number.AsFloat(), 45000.5);
    number.SetAsFloat(1.0);
    EXPECT_EQ(number.AsDateTime(), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));

    GridCell text = cells.cell(T);
    text.SetAsDateTime(noon);
    EXPECT_EQ(text.AsString(), QStringLiteral("2023-03-15 12:00:00"));
    EXPECT_EQ(text.AsDateTime(), noon);
    text.SetAsDateTime(QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    EXPECT_EQ(text.AsString(), QStringLiteral("2024-02-29"));
    text.SetAsString(QStringLiteral("05.01.2022 07:30"));
    EXPECT_EQ(text.AsDateTime(), QDateTime(QDate(2022, 1, 5), QTime(7, 30)));
    text.SetAsString(QStringLiteral("yesterday"));
    EXPECT_THROW(text.AsDateTime(), Error);
}

TEST(CellConversion, ColourIsPerCellAndStartsFromTheColumn) {
    GridData grid;
    GridColumn &c = grid.AddTextColumn(QStringLiteral("a"));
    c.SetColor(clSilver);
    grid.AddRows(2);
    EXPECT_EQ(grid.CellAt(0, 0).Color(), clSilver);
    grid.CellAt(0, 1).SetColor(clSkyBlue);
    EXPECT_EQ(grid.CellAt(0, 0).Color(), clSilver);
    EXPECT_EQ(grid.CellAt(0, 1).Color(), clSkyBlue);
    c.SetColor(clAqua); // only new cells take the column's new colour
    grid.AddRows(1);
    EXPECT_EQ(grid.CellAt(0, 0).Color(), clSilver);
    EXPECT_EQ(grid.CellAt(0, 2).Color(), clAqua);
}

} // namespace
