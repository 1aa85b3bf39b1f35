#include "tables/word_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "components/comma_locale.h"
#include "fields/exceptions.h"
#include "support/test_support.h"

namespace velmor::components {
namespace {

using velmor::test::ScratchDir;
using velmor::test::writeFile;

const char* const kIncomplete = "This file either invalid or incomplete.";
const std::string kIntegerExpected = "An integer was expected but not found.";
const std::string kFloatExpected = "A floating point number was expected but not found.";

// Writes `text` to a file in a fresh directory and opens a reader on it.
class WordReaderTest : public ::testing::Test {
  protected:
    TWordReader& open(const std::string& text) {
        const std::string path = scratch_.file("data.txt");
        writeFile(path, text);
        reader_ = std::make_unique<TWordReader>(path);
        return *reader_;
    }

    template <class Fn>
    static std::string messageOf(Fn fn) {
        try {
            fn();
        } catch (const EInOutError& e) {
            return e.message();
        }
        return "(nothing raised)";
    }

    ScratchDir scratch_;
    std::unique_ptr<TWordReader> reader_;
};

TEST_F(WordReaderTest, LinesAndWords) {
    struct Case {
        const char* what;
        const char* text;
        std::vector<std::vector<std::string>> words;
    };
    const Case cases[] = {
        {"empty file is one line", "", {{}}},
        {"blanks and tabs separate", "  7\t 2.5   x \n", {{"7", "2.5", "x"}}},
        {"final line end adds nothing", "a b\n", {{"a", "b"}}},
        {"last line without its end", "a\nb", {{"a"}, {"b"}}},
        {"blank line kept", "a\n\n", {{"a"}, {}}},
        {"CR LF and CR end lines", "a b\r\nc\rd\n", {{"a", "b"}, {"c"}, {"d"}}},
        {"other control characters stay in a word",
         "a\x01"
         "b c\x02",
         {{"a\x01"
           "b",
           "c"}}},
    };
    for (const Case& c : cases) {
        TWordReader& reader = open(c.text);
        ASSERT_EQ(reader.Lines().Count(), static_cast<int>(c.words.size())) << c.what;
        for (int i = 0; i < reader.Lines().Count(); ++i) {
            EXPECT_EQ(reader.Lines().Items(i)->Strings, c.words[static_cast<std::size_t>(i)]) << c.what;
        }
    }
}

TEST_F(WordReaderTest, EmptyFile) {
    TWordReader& reader = open("");
    EXPECT_FALSE(reader.Eof());
    EXPECT_EQ(messageOf([&] { reader.ReadInteger(); }), kIncomplete);

    TWordReader& fresh = open("");
    std::string line = "x";
    fresh.ReadLine(line);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(fresh.Eof());
}

TEST_F(WordReaderTest, ReadLineReturnsTheWholeLineAfterWordsWereRead) {
    TWordReader& reader = open("  7\t 2.5   x \n1 2\n3 4\n");
    std::string line;
    reader.ReadLine(line);
    EXPECT_EQ(line, "  7\t 2.5   x ");
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadInteger(), 2);
    reader.ReadLine(line);
    EXPECT_EQ(line, "1 2");
    EXPECT_EQ(reader.ReadInteger(), 3);
    EXPECT_EQ(reader.CurrentLine(), 2);
    EXPECT_EQ(reader.CurrentItem(), 1);
}

TEST_F(WordReaderTest, WordsInFileOrderUntilIncomplete) {
    TWordReader& reader = open("1 2\n3\n");
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadInteger(), 2);
    EXPECT_EQ(reader.ReadInteger(), 3);
    // The last word handed out does not make the reader end.
    EXPECT_FALSE(reader.Eof());
    EXPECT_EQ(messageOf([&] { reader.ReadInteger(); }), kIncomplete);
    EXPECT_TRUE(reader.Eof());
    // Reading on past the end reports the same, instead of looking up a line that is not there.
    EXPECT_EQ(messageOf([&] { reader.ReadFloat(); }), kIncomplete);
    std::string line;
    EXPECT_EQ(messageOf([&] { reader.ReadLine(line); }), kIncomplete);
}

// A line without words where a word is expected is a fault of that line: the message names it and item 1,
// with the text of the read that expected the word. Only past the last line is the file incomplete.
TEST_F(WordReaderTest, BlankLineWhereAWordIsExpectedNamesThatLine) {
    struct Case {
        const char* what;
        const char* text;
        int wordsBefore;  // integers read successfully before the failing read
        bool asFloat;
        std::string message;
    };
    const Case cases[] = {
        {"blank line between words, integer", "1\n\n2\n", 1, false, "Error on Line 2 Item 1\r" + kIntegerExpected},
        {"blank line between words, float", "1\n\n2\n", 1, true, "Error on Line 2 Item 1\r" + kFloatExpected},
        {"blank-only line after two words", "1 2\n \t \n", 2, false, "Error on Line 2 Item 1\r" + kIntegerExpected},
        // The cursor moves past one used-up or empty line per read, so a leading blank line is passed
        // over and the one after it is reported.
        {"two blank lines at the start", "\n\n5\n", 0, true, "Error on Line 2 Item 1\r" + kFloatExpected},
        {"blank last line", "1\n\n", 1, true, "Error on Line 2 Item 1\r" + kFloatExpected},
    };
    for (const Case& c : cases) {
        TWordReader& reader = open(c.text);
        for (int i = 0; i < c.wordsBefore; ++i) reader.ReadInteger();
        EXPECT_EQ(messageOf([&] { c.asFloat ? reader.ReadFloat() : reader.ReadInteger(); }), c.message) << c.what;
    }
}

TEST_F(WordReaderTest, ReadingGoesOnAfterABlankLineAndEndsIncomplete) {
    TWordReader& reader = open("1\n\n2\n\n");
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(messageOf([&] { reader.ReadInteger(); }), "Error on Line 2 Item 1\r" + kIntegerExpected);
    EXPECT_EQ(reader.ReadInteger(), 2);
    EXPECT_EQ(messageOf([&] { reader.ReadFloat(); }), "Error on Line 4 Item 1\r" + kFloatExpected);
    EXPECT_FALSE(reader.Eof());
    EXPECT_EQ(messageOf([&] { reader.ReadInteger(); }), kIncomplete);
    EXPECT_TRUE(reader.Eof());
}

// The same content with LF, CR LF or CR line ends gives the same lines, the same words and the same reads;
// no CR stays in a line.
TEST_F(WordReaderTest, LineEndsDoNotChangeTheWords) {
    const char* const contents[] = {
        "1 2\n3\n",
        "title line\n  7\t 2.5   x \n\n-4 1e3\n",
        "no final line end\n12",
        "\n\n",
        ("a\x01"
         "b\tc\n"),
    };
    for (const char* content : contents) {
        std::string crLf;
        std::string cr;
        for (const char* c = content; *c != '\0'; ++c) {
            crLf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
            cr += *c == '\n' ? '\r' : *c;
        }
        struct Snapshot {
            std::vector<std::vector<std::string>> words;
            std::vector<std::string> lines;
        };
        const auto snapshot = [this](const std::string& text) {
            TWordReader& reader = open(text);
            Snapshot result;
            for (int i = 0; i < reader.Lines().Count(); ++i) {
                result.words.push_back(reader.Lines().Items(i)->Strings);
                result.lines.push_back(reader.Lines().Items(i)->Line);
            }
            return result;
        };
        const Snapshot lf = snapshot(content);
        for (const std::string& variant : {crLf, cr}) {
            const Snapshot other = snapshot(variant);
            EXPECT_EQ(other.words, lf.words) << content;
            EXPECT_EQ(other.lines, lf.lines) << content;
            for (const std::string& line : other.lines) EXPECT_EQ(line.find('\r'), std::string::npos) << content;
        }
    }

    const std::string text = "1 2\r\nheader\r\n3.5\r\n";
    TWordReader& reader = open(text);
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadInteger(), 2);
    std::string line;
    reader.ReadLine(line);
    EXPECT_EQ(line, "1 2");
    reader.ReadLine(line);
    EXPECT_EQ(line, "header");
    EXPECT_EQ(reader.ReadFloat(), 3.5L);
    EXPECT_EQ(messageOf([&] { reader.ReadFloat(); }), kIncomplete);
}

TEST_F(WordReaderTest, ReadInteger) {
    struct Case {
        const char* word;
        int expected;
    };
    const Case accepted[] = {{"12", 12}, {"12.0", 12}, {"1.2E1", 12},           {"+12", 12},
                             {"3.0", 3}, {"-7", -7},   {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
    for (const Case& c : accepted) EXPECT_EQ(open(c.word).ReadInteger(), c.expected) << c.word;

    const char* const rejected[] = {"3.5", "2147483648", "-2147483649", "x", "1,5", "0x1F"};
    for (const char* word : rejected) {
        TWordReader& reader = open(word);
        EXPECT_EQ(messageOf([&] { reader.ReadInteger(); }), "Error on Line 1 Item 1\r" + kIntegerExpected) << word;
    }
}

TEST_F(WordReaderTest, ReadFloatUsesAPoint) {
    TWordReader& reader = open("1.5 -2e3 .25\n");
    EXPECT_EQ(reader.ReadFloat(), 1.5L);
    EXPECT_EQ(reader.ReadFloat(), -2000.0L);
    EXPECT_EQ(reader.ReadFloat(), 0.25L);

    TWordReader& comma = open("1,5");
    EXPECT_EQ(messageOf([&] { comma.ReadFloat(); }), "Error on Line 1 Item 1\r" + kFloatExpected);
}

// The word 1,5 is no number even where the user's decimal separator is a comma; the program's own
// number text keeps its point.
TEST_F(WordReaderTest, ReadFloatIgnoresACommaLocale) {
    const test::CommaLocale comma;
    TWordReader& reader = open("1,5 2.5 3.0\n");
    EXPECT_EQ(messageOf([&] { reader.ReadFloat(); }), "Error on Line 1 Item 1\r" + kFloatExpected);
    EXPECT_EQ(reader.ReadFloat(), 2.5L);
    EXPECT_EQ(reader.ReadInteger(), 3);
}

TEST_F(WordReaderTest, ConversionErrorNamesLineAndItemAndConsumesTheWord) {
    TWordReader& reader = open("1\nabc 2\n");
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(messageOf([&] { reader.ReadFloat(); }), "Error on Line 2 Item 1\r" + kFloatExpected);
    EXPECT_EQ(reader.ReadInteger(), 2);

    TWordReader& fifth = open("1\n2\n3\n4\n5 6 abc\n");
    for (int expected = 1; expected <= 6; ++expected) EXPECT_EQ(fifth.ReadInteger(), expected);
    EXPECT_EQ(messageOf([&] { fifth.ReadInteger(); }), "Error on Line 5 Item 3\r" + kIntegerExpected);
}

TEST_F(WordReaderTest, FileThatCannotBeReadRaisesTheSystemMessage) {
    writeFile(scratch_.file("plain.txt"), "1\n");
    struct Case {
        std::string path;
        const char* message;
    };
    const Case cases[] = {
        {scratch_.file("absent.vm4d"), "File not found"},
        {scratch_.file("absent/data.vm4d"), "File not found"},
        {scratch_.file("plain.txt") + "/data.vm4d", "Path not found"},
        {scratch_.path().string(), "File access denied"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(messageOf([&] { TWordReader reader(c.path); }), c.message) << c.path;
    }
}

}  // namespace
}  // namespace velmor::components
