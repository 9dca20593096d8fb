#include "skerry/ground/ProfileFile.h"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace fs = std::filesystem;
using skerry::ProfileFile;
using skerry::test::readBytes;
using skerry::test::TempDir;

namespace {

// The reason a write failed, or "" when it succeeded, so that a failure shows its reason.
std::string reasonOf(const std::optional<skerry::FileError>& error) {
    return error ? error->reason : "";
}

constexpr const char* kDefault = "(default)";

struct LookupCase {
    const char* what;
    std::string file;
    std::string section;
    std::string key;
    std::string expected; // kDefault when the key must not be found
};

TEST(ProfileFile, ReadStringLookups) {
    const LookupCase cases[] = {
        {"names ignore case", "[Colours]\r\nRED=5\r\n", "colours", "red", "5"},
        {"blanks and tabs around names and value", " \t[ Good Data ]\t\r\n\t Red \t=\t 12 \t\r\n",
         "Good Data", "Red", "12"},
        {"0x1A and other control characters trimmed",
         "[A]\x1A\r\n\x0B key\x0C=\x1A"
         "value\x1A\r\n\x1A",
         "A", "key", "value"},
        {"caller's names trimmed", "[A]\r\nkey=1\r\n", " A\t", "\tkey ", "1"},
        {"inner blanks of names count", "[Good Data]\r\nkey=1\r\n", "GoodData", "key", kDefault},
        {"mixed line ends", "[A]\nx=1\r\n\ry=2\n\rz=3", "A", "z", "3"},
        {"only the first section of a name is searched",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n", "A", "z", kDefault},
        {"a later section of the same name does not override", "[A]\r\nx=1\r\n[a]\r\nx=9\r\n", "A",
         "x", "1"},
        {"first matching key wins", "[A]\r\nx=1\r\nX=2\r\n", "A", "x", "1"},
        {"comment lines are skipped", "[A]\r\n;x=1\r\n  ; x=2\r\nx=3\r\n", "A", "x", "3"},
        {"a comment is not a key", "[A]\r\n;x=1\r\n", "A", ";x", kDefault},
        {"semicolon inside a value", "[A]\r\nx=1 ; note\r\n", "A", "x", "1 ; note"},
        {"'[' without ']' is an ordinary line", "[A]\r\n[B\r\nx=1\r\n", "A", "x", "1"},
        {"'[' line with '=' is a key", "[A]\r\n[B=2\r\n", "A", "[B", "2"},
        {"no section opened by '[' without ']'", "[A]\r\n[B\r\nx=1\r\n", "B", "x", kDefault},
        {"text after ']' ignored", "[A] trailing text\r\nx=1\r\n", "A", "x", "1"},
        {"header runs to the last ']'", "[A]b]\r\nx=1\r\n", "A]b", "x", "1"},
        {"blanks inside the brackets trimmed", "[  A  ]\r\nx=1\r\n", "A", "x", "1"},
        {"lines before any section belong to none", "y=0\r\n[A]\r\nx=1\r\n", "A", "y", kDefault},
        {"lines before any section are not the empty section", "y=0\r\n", "", "y", kDefault},
        {"an empty section name", "[ ]\r\ny=0\r\n", "", "y", "0"},
        {"line without '=' never found", "[A]\r\nflag\r\n", "A", "flag", kDefault},
        {"split at the first '='", "[A]\r\nx = a=b \r\n", "A", "x", "a=b"},
        {"empty value is found and empty", "[A]\r\nx=\r\n", "A", "x", ""},
        {"blank value is found and empty", "[A]\r\nx= \t\r\n", "A", "x", ""},
        {"double quotes removed", "[A]\r\nx=\"abc\"\r\n", "A", "x", "abc"},
        {"single quotes removed", "[A]\r\nx='abc'\r\n", "A", "x", "abc"},
        {"blanks inside quotes kept", "[A]\r\nx=' spaced '\r\n", "A", "x", " spaced "},
        {"a pair of quotes gives empty", "[A]\r\nx=\"\"\r\n", "A", "x", ""},
        {"lone quote kept", "[A]\r\nx=\"\r\n", "A", "x", "\""},
        {"mismatched quotes kept", "[A]\r\nx=\"abc'\r\n", "A", "x", "\"abc'"},
        {"quote at one end only kept", "[A]\r\nx='abc\r\n", "A", "x", "'abc"},
        {"only the outer quotes removed", "[A]\r\nx=\"a\"b\"\r\n", "A", "x", "a\"b"},
        {"missing section", "[A]\r\nx=1\r\n", "B", "x", kDefault},
        {"empty file", "", "A", "x", kDefault},
    };
    for (const auto& c : cases) {
        const auto profile = ProfileFile::parse(c.file);
        EXPECT_EQ(profile.readString(c.section, c.key, kDefault, 96), c.expected) << c.what;
    }
}

TEST(ProfileFile, ReadStringCutsToTheBuffer) {
    const std::string hundred(100, 'v');
    const auto profile = ProfileFile::parse("[A]\r\nlong=" + hundred + "\r\nquoted=\"" +
                                            std::string(95, 'q') + "\"\r\n");
    struct Case {
        const char* key;
        const char* defaultValue;
        std::size_t bufferSize;
        std::string expected;
    };
    const Case cases[] = {
        {"long", "", 96, std::string(95, 'v')},
        {"long", "", 101, hundred},
        {"long", "", 1, ""},
        {"long", "", 0, ""},
        // Quotes go first, so all 95 characters between them fit.
        {"quoted", "", 96, std::string(95, 'q')},
        {"missing", "abc  ", 96, "abc"},
        {"missing", "  abc \t ", 96, "  abc \t"},
        {"missing", "    ", 96, ""},
        {"missing", "abcdefgh", 5, "abcd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profile.readString("A", c.key, c.defaultValue, c.bufferSize), c.expected)
            << c.key << " default '" << c.defaultValue << "' buffer " << c.bufferSize;
    }
}

TEST(ProfileFile, ReadInt) {
    struct Case {
        const char* line; // the key line in section [A]; nullptr for a missing key
        std::int32_t expected;
    };
    const Case cases[] = {
        {"n= 42abc", 42},
        {"n=+7", 7},
        {"n=-1", -1},
        {"n=x5", 0},
        {"n=0x10", 0},
        {"n=12 34", 12},
        {"n=+", 0},
        {"n=- 5", 0},
        {"n=", -99},
        {"n=  ", -99},
        {"n=''", -99},
        {"n", -99},
        {nullptr, -99},
        {"n='12'", 12},
        {"n=\"-3\"", -3},
        {"n=' 12'", 12},
        {"n=2147483647", 2147483647},
        {"n=2147483648", std::numeric_limits<std::int32_t>::min()},
        {"n=-2147483649", 2147483647},
        {"n=4294967295", -1},
        {"n=4294967296", 0},
        {"n=-4294967295", 1},
        {"n=100000000000000000000", 1661992960},
    };
    for (const auto& c : cases) {
        const std::string file = std::string("[A]\r\n") + (c.line ? c.line : "other=1") + "\r\n";
        EXPECT_EQ(ProfileFile::parse(file).readInt("A", "n", -99), c.expected)
            << (c.line ? c.line : "(missing)");
    }
}

struct WriteCase {
    const char* what;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(ProfileFile, WriteGivesExactBytes) {
    const WriteCase cases[] = {
        {"replaced in place, key spelled as in the file, other lines as they were",
         "; settings\r\n[GoodData]\r\n  Red = 0 \r\n\tGreen = 127\r\n\r\n[DeletedData]\r\n"
         "Red=255\r\n",
         "gooddata", "RED", "200",
         "; settings\r\n[GoodData]\r\nRed=200\r\n\tGreen = 127\r\n\r\n[DeletedData]\r\n"
         "Red=255\r\n"},
        {"empty value replaced", "[A]\r\nx=\r\n", "A", "x", "5", "[A]\r\nx=5\r\n"},
        {"value written as given", "[A]\r\nx=1\r\n", "A", "x", " padded ", "[A]\r\nx= padded \r\n"},
        {"new key after the last entry; trailing blank lines stay after it",
         "[A]\r\nx=1\r\n; note\r\n\r\n \t\r\n[B]\r\ny=2\r\n", " A ", " z ", "3",
         "[A]\r\nx=1\r\n; note\r\nz=3\r\n\r\n \t\r\n[B]\r\ny=2\r\n"},
        {"a line without '=' counts as an entry", "[A]\r\nx\r\n\r\n", "A", "x", "1",
         "[A]\r\nx\r\nx=1\r\n\r\n"},
        {"a comment is not the key", "[A]\r\n;x=1\r\n", "A", "x", "2", "[A]\r\n;x=1\r\nx=2\r\n"},
        {"new key in an empty section", "[A]\r\n\r\n[B]\r\n", "a", "k", "v",
         "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        {"new key in the first of two sections of a name", "[A]\r\nx=1\r\n[B]\r\n[A]\r\ny=2\r\n",
         "A", "y", "5", "[A]\r\nx=1\r\ny=5\r\n[B]\r\n[A]\r\ny=2\r\n"},
        {"a key before any section is not replaced", "x=0\r\n[A]\r\n", "A", "x", "1",
         "x=0\r\n[A]\r\nx=1\r\n"},
        {"new section at the end of a file without a final line end", "[A]\r\nx=1", "B", "y", "2",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"new section after trailing blank lines", "[A]\r\nx=1\r\n\r\n", " B\t", "y", "2",
         "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
        {"new section in an empty file", "", "LastAccess", "Date", "01-02-2024",
         "[LastAccess]\r\nDate=01-02-2024\r\n"},
        {"LF-only file rewritten with CR LF", "[A]\nx=1\n\n[B]\ny=2\n", "A", "x", "5",
         "[A]\r\nx=5\r\n\r\n[B]\r\ny=2\r\n"},
        {"CR-only and mixed line ends rewritten with CR LF", "; a\r[A]\n\rx=1\r\r\n", "A", "x", "2",
         "; a\r\n[A]\r\n\r\nx=2\r\n\r\n"},
        {"untouched lines keep their blanks and 0x1A", " \t[A] x \r\n  k = v \x1A\r\n", "B", "y",
         "2", " \t[A] x \r\n  k = v \x1A\r\n[B]\r\ny=2\r\n"},
    };
    for (const auto& c : cases) {
        auto profile = ProfileFile::parse(c.before);
        profile.write(c.section, c.key, c.value);
        EXPECT_EQ(profile.bytes(), c.after) << c.what;
    }
}

TEST(ProfileFile, SaveCreatesAndReplacesTheFile) {
    const TempDir dir;
    const auto path = dir / "Skerry.ini";

    auto created = ProfileFile::load(path);
    created.write("GoodData", "Red", "0");
    ASSERT_EQ(reasonOf(created.save(path)), "");
    EXPECT_EQ(readBytes(path), "[GoodData]\r\nRed=0\r\n");

    dir.write("Skerry.ini", "[GoodData]\nRed=0\nBlue=0\n");
    auto replaced = ProfileFile::load(path);
    replaced.write("GoodData", "Red", "255");
    ASSERT_EQ(reasonOf(replaced.save(path)), "");
    EXPECT_EQ(readBytes(path), "[GoodData]\r\nRed=255\r\nBlue=0\r\n");
}

} // namespace
