#include "catalog/formats.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace vq;

namespace {

QString dots(QString s) {
    return s.replace(QLatin1Char(' '), QLatin1Char('.'));
}

} // namespace

TEST(FormatPlayTime, Table) {
    const struct {
        qint64 ms;
        const char *text;
    } cases[] = {{0, "00:00:00,000"},
                 {999, "00:00:00,999"},
                 {59999, "00:00:59,999"},
                 {60000, "00:01:00,000"},
                 {83456, "00:01:23,456"},
                 {1425000, "00:23:45,000"},
                 {3723456, "01:02:03,456"},
                 {86399999, "23:59:59,999"},
                 {360000000, "100:00:00,000"},
                 {2147483647, "596:31:23,647"},
                 {36000000000LL, "10000:00:00,000"},
                 {-5, "00:00:00,000"},
                 {std::numeric_limits<qint64>::max(), "2562047788015:12:55,807"}};
    for (const auto &c : cases)
        EXPECT_EQ(FormatPlayTime(c.ms), QString::fromLatin1(c.text)) << c.ms;
}

TEST(GroupDigits, Table) {
    const struct {
        const char *in, *out;
    } cases[] = {{"", ""},
                 {"0", "..0."},
                 {"12", ".12."},
                 {"123", "123."},
                 {"1234", "..1.234."},
                 {"1234567", "..1.234.567."},
                 {"700000000", "700.000.000."},
                 {"4700000000", "..4.700.000.000."}};
    for (const auto &c : cases)
        EXPECT_EQ(dots(GroupDigits(QString::fromLatin1(c.in))), QString::fromLatin1(c.out)) << c.in;
}

TEST(GigabyteText, TableWithDotAndComma) {
    const QLocale dot(QLocale::English, QLocale::UnitedStates);
    const QLocale comma(QLocale::Russian, QLocale::Russia);
    const struct {
        double bytes;
        const char *dotText, *commaText;
    } cases[] = {{0, "0 Gb", "0 Gb"},
                 {123456789, "0.11 Gb", "0,11 Gb"},
                 {734003200, "0.68 Gb", "0,68 Gb"},
                 {1073741824, "1 Gb", "1 Gb"},
                 {1610612736, "1.5 Gb", "1,5 Gb"},
                 {2147483648.0, "2 Gb", "2 Gb"},
                 {4700000000.0, "4.38 Gb", "4,38 Gb"},
                 // 0.005 Gb exactly: the half goes away from zero
                 {0.005 * 1073741824.0, "0.01 Gb", "0,01 Gb"}};
    for (const auto &c : cases) {
        EXPECT_EQ(gigabyteText(c.bytes, dot), QString::fromLatin1(c.dotText)) << c.bytes;
        EXPECT_EQ(gigabyteText(c.bytes, comma), QString::fromLatin1(c.commaText)) << c.bytes;
    }
}

TEST(MegabyteText, RoundsHalfToEven) {
    const struct {
        double bytes;
        const char *text;
    } cases[] = {{524288, "..0."},    {1572864, "..2."},        {2621440, "..2."},          {3670016, "..4."},
                 {734003200, "700."}, {1234567890, "..1.177."}, {4700000000.0, "..4.482."}, {0, "..0."}};
    for (const auto &c : cases)
        EXPECT_EQ(dots(megabyteText(c.bytes)), QString::fromLatin1(c.text)) << c.bytes;
}

TEST(Rounding, HalfToEvenAndInt32Range) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    // A sum beyond 32 bits is held at the largest value instead of wrapping to a negative time.
    EXPECT_EQ(roundToInt32(5e9), 2147483647);
}

TEST(FrameSize, Text) {
    EXPECT_EQ(frameSizeText(QStringLiteral("640"), QStringLiteral("480")), QStringLiteral("640x480"));
    EXPECT_EQ(frameSizeText(QStringLiteral("1920"), QStringLiteral("1080")), QStringLiteral("1920x1080"));
    EXPECT_EQ(frameSizeText(QString(), QString()), QStringLiteral("x"));
}

TEST(PlainNumberText, WholeBytesAsDigits) {
    EXPECT_EQ(plainNumberText(4700000000.0), QStringLiteral("4700000000"));
    EXPECT_EQ(plainNumberText(0), QStringLiteral("0"));
    EXPECT_EQ(plainNumberText(1.5), QStringLiteral("1.5"));
}
