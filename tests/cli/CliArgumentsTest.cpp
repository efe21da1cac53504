// Reading quessar-cli's arguments: numbers, seeds, bytes that are not UTF-8, near-misses.

#include "cli/CliArguments.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Decimal digits with an optional sign, and nothing that merely looks like a number.
TEST(CliArguments, WholeNumbersAndSeedsAreDigitsWithinTheirRange)
{
    struct Row
    {
        const char *text;
        std::optional<qint64> whole; // within [-5, 1000000]
        std::optional<std::uint64_t> seed;
    };
    const Row rows[] = {
        {"42", 42, 42},
        {"+7", 7, 7},
        {"-5", -5, std::uint64_t(-5)},
        {"-6", std::nullopt, std::uint64_t(-6)},
        {"0007", 7, 7},
        {"1000001", std::nullopt, 1'000'001},
        {"18446744073709551615", std::nullopt, std::numeric_limits<std::uint64_t>::max()},
        {"18446744073709551616", std::nullopt, std::nullopt},
        {"-9223372036854775808", std::nullopt, std::uint64_t(1) << 63},
        {"-9223372036854775809", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"+-3", std::nullopt, std::nullopt},
        {" 5", std::nullopt, std::nullopt},
        {"5 ", std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"1,000", std::nullopt, std::nullopt},
        {"\u0663", std::nullopt, std::nullopt}, // an Arabic-Indic three
        {"\uFF15", std::nullopt, std::nullopt}, // a full-width five
    };
    for (const Row &row : rows) {
        const QString text = QString::fromUtf8(row.text);
        EXPECT_EQ(ParseWholeNumber(text, -5, 1'000'000), row.whole) << row.text;
        EXPECT_EQ(ParseSeed(text), row.seed) << row.text;
    }
}

// Exact numbers: a decimal comma or point, or one fraction bar, read exactly; blanks, a second
// bar or separator, and parts past 64 bits refused, each for what it is.
TEST(CliArguments, ExactNumbersTakeOneSeparatorOrOneBar)
{
    using P = NumberProblem;
    struct Row
    {
        const char *text;
        std::variant<Fraction, NumberProblem> read;
    };
    const auto f = [](qint64 n, qint64 d) { return *Fraction::of(n, d); };
    const Row rows[] = {
        {"15", Fraction(15)},
        {"+3", Fraction(3)},
        {"-2", Fraction(-2)},
        {"3,5", f(7, 2)},
        {"3.5", f(7, 2)},
        {"-0,25", f(-1, 4)},
        {"0,1", f(1, 10)},
        {"2,50", f(5, 2)},
        {"1,000", Fraction(1)},
        {"7/2", f(7, 2)},
        {"-7/2", f(-7, 2)},
        {"6/4", f(3, 2)},
        {"0,333333333333333333", f(333333333333333333, 1000000000000000000)},
        {"0,1000000000000000000000", f(1, 10)},
        {"-9223372036854775808", Fraction(std::numeric_limits<qint64>::min())},
        {"9223372036854775807/9223372036854775807", Fraction(1)},
        {"9223372036854775808", P::OutOfRange},
        {"-9223372036854775809", P::OutOfRange},
        {"9223372036854775808,5", P::OutOfRange},
        {"1/9223372036854775808", P::OutOfRange},
        {"0,0000000000000000001", P::TooFine},
        {"922337203685477580,75", P::TooFine},
        {"1/2/3", P::NotANumber},
        {"1,2,3", P::NotANumber},
        {"1,5/2", P::NotANumber},
        {"7/0", P::NotANumber},
        {"7/-2", P::NotANumber},
        {" 15", P::NotANumber},
        {"15 ", P::NotANumber},
        {"3, 5", P::NotANumber},
        {",5", P::NotANumber},
        {"5.", P::NotANumber},
        {"1e3", P::NotANumber},
        {"1d6", P::NotANumber},
        {"", P::NotANumber},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ParseExactNumber(QString::fromUtf8(row.text)), row.read) << row.text;
}

// Only well-formed UTF-8 is text; anything else is shown byte by byte, keeping the valid
// characters around it.
TEST(CliArguments, OnlyWellFormedUtf8IsText)
{
    struct Row
    {
        QByteArray bytes;
        const char *shown; // nullptr: valid UTF-8
    };
    const Row rows[] = {
        {"São Paulo", nullptr},
        {"\xF0\x9F\x8E\xB2", nullptr},                     // a die, four bytes
        {"cid\xE3.txt", "cid\\xE3.txt"},                 // Latin-1 ã
        {"\xC0\xAF", "\\xC0\\xAF"},                        // an overlong "/"
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},               // a lone surrogate half
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},      // past U+10FFFF
        {"a\xE3\x81", "a\\xE3\\x81"},                      // cut short
        {"\xE3\x81\xC3\xA9", "\\xE3\\x81é"},               // cut short, then a whole é
        {QByteArray("a\0b", 3), nullptr},
    };
    for (const Row &row : rows) {
        const std::optional<QString> text = DecodeArgument(row.bytes);
        EXPECT_EQ(text.has_value(), row.shown == nullptr) << row.bytes.toStdString();
        if (text)
            EXPECT_EQ(*text, QString::fromUtf8(row.bytes));
        else
            EXPECT_EQ(ShowBytes(row.bytes), QString::fromUtf8(row.shown));
    }
}

// A slip of at most two letters, any case, names the subcommand meant; anything further
// names none.
TEST(CliArguments, NearMissesNameTheWordMeant)
{
    const QStringList words{"nomes", "cidade", "dados", "chances"};
    const std::pair<const char *, const char *> rows[] = {
        {"dado", "dados"},     {"nome", "nomes"},     {"cidades", "cidade"},
        {"DADOS", "dados"},    {"chance", "chances"}, {"cidadão", "cidade"},
        {"dadoss", "dados"},   {"xyz", ""},           {"", ""},
        {"cidadezinha", ""},   {"dd", ""},
    };
    for (const auto &[typed, meant] : rows)
        EXPECT_EQ(NearestWord(QString::fromUtf8(typed), words), QString::fromUtf8(meant))
            << typed;
}

} // namespace
