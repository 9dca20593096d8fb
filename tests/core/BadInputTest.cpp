#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "CommandTest.h"

namespace skerry {
namespace {

using test::readBytes;

// Everything a refused file must leave as it was.
struct Snapshot {
    explicit Snapshot(const MainWindowModel& model)
        : data(std::make_unique<DataSet>(model.data())), panes{model.state().panes[0].text,
                                                               model.state().panes[1].text,
                                                               model.state().panes[2].text} {}

    void expectSame(const MainWindowModel& model, const std::filesystem::path& listing) const {
        const DataSet& now = model.data();
        EXPECT_EQ(now.DataFileName, data->DataFileName);
        EXPECT_EQ(now.PointCount, data->PointCount);
        EXPECT_EQ(now.CommentCount, data->CommentCount);
        EXPECT_EQ(now.FirstGoodIndex, data->FirstGoodIndex);
        EXPECT_EQ(now.LastGoodIndex, data->LastGoodIndex);
        EXPECT_EQ(std::memcmp(&now.RawPoints, &data->RawPoints, sizeof(PointArray)), 0);
        EXPECT_EQ(std::memcmp(&now.WorkPoints, &data->WorkPoints, sizeof(PointArray)), 0);
        EXPECT_EQ(std::memcmp(&now.CommentBlock, &data->CommentBlock, sizeof(CommentLines)), 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(model.state().panes[static_cast<std::size_t>(i)].text,
                      panes[static_cast<std::size_t>(i)]);
        }
        EXPECT_EQ(readBytes(listing), panes[2]);
    }

    std::unique_ptr<DataSet> data;
    std::string panes[3];
};

std::string points(int count, const char* lineEnd = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "6." + std::to_string(1000 + i) + " 0.5 0.01" + lineEnd;
    }
    return text;
}

std::string commentLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "comment " + std::to_string(i) + "\r\n";
    }
    return text;
}

std::string garbage() {
    std::mt19937 random(7);
    std::string text(4096, '\0');
    for (char& c : text) {
        c = static_cast<char>(random() & 0xFF);
    }
    return text;
}

std::string utf16(const std::string& ascii, bool bom) {
    std::string text = bom ? std::string("\xff\xfe", 2) : std::string();
    for (char c : ascii) {
        text += c;
        text += '\0';
    }
    return text;
}

class BadInputTest : public test::CommandTest {
protected:
    BadInputTest() {
        // A good scan is loaded first; every refusal must leave it exactly as it is.
        getData(dir.write("good.RA1", "Cell 1\r\n" + points(10)).string());
        platform.messages.clear();
    }

    // Offers `path` in the Get Data dialog and returns the message shown, if any.
    std::string messageOfGetData(const std::filesystem::path& path) {
        platform.messages.clear();
        getData(path.string());
        EXPECT_LE(platform.messages.size(), 1u);
        return platform.messages.empty() ? std::string() : platform.messages[0].text;
    }
};

TEST_F(BadInputTest, RefusedFilesAreNamedWithTheirReasonAndChangeNothing) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", "it holds no data points"},
        {"garbage", garbage(), "it holds binary data, not text"},
        {"utf16-bom", utf16("Cell 1\r\n6.0 1 1\r\n", true),
         "it is UTF-16 text; save it as plain 8-bit text"},
        {"utf16-no-bom", utf16("Cell 1\r\n6.0 1 1\r\n", false),
         "it is UTF-16 text; save it as plain 8-bit text"},
        {"2201-points", "c\r\n" + points(2201), "it holds more than 2200 points"},
        {"huge-data-line", "c\r\n" + points(3) + std::string(10'000'000, '7') + "\r\n",
         "line 5 is not a data line (two or three numbers expected)"},
        {"nan", points(3) + "6.5 NaN 0.01\r\n",
         "line 4 is not a data line (two or three numbers expected)"},
        {"inf", points(3) + "6.5 0.5 Inf\r\n",
         "line 4 is not a data line (two or three numbers expected)"},
        {"1e39", points(3) + "6.5 1e39 0.01\r\n",
         "line 4 holds the value 1e39, which is out of range"},
        {"comments-only", commentLines(60), "it holds no data points"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before(model);
        const auto path = dir.write(c.name, c.bytes);
        EXPECT_EQ(messageOfGetData(path),
                  "The data file " + path.string() + " was not read: " + c.reason + ".");
        before.expectSame(model, dir / "~skerry.tmp");
    }
}

TEST_F(BadInputTest, FoldersAndVanishedFilesAreRefused) {
    std::filesystem::create_directory(dir / "folder");
    const struct {
        std::filesystem::path path;
        const char* reason;
    } cases[] = {{dir / "folder", "is a folder, not a file"},
                 {dir / "removed.RA1", "No such file or directory"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const Snapshot before(model);
        EXPECT_EQ(messageOfGetData(c.path),
                  "The data file " + c.path.string() + " was not read: " + c.reason + ".");
        before.expectSame(model, dir / "~skerry.tmp");
    }
}

TEST_F(BadInputTest, OddButValidFilesAreRead) {
    struct Case {
        const char* name;
        std::string bytes;
        int points;
        int comments;
    };
    const Case cases[] = {
        {"cr-only", "Cell 1\r" + points(5, "\r"), 5, 1},
        {"lf-only", "Cell 1\n" + points(5, "\n"), 5, 1},
        {"2200-points", "c\r\n" + points(2200), 2200, 1},
        {"50-comments", commentLines(50) + points(2), 2, 50},
        {"51-comments", commentLines(51) + points(2), 2, 50},
        {"huge-comment-line", std::string(10'000'000, 'x') + "\r\n" + points(2), 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(messageOfGetData(dir.write(c.name, c.bytes)), "");
        EXPECT_EQ(model.data().PointCount, c.points);
        EXPECT_EQ(model.data().CommentCount, c.comments);
        EXPECT_EQ(readBytes(dir / "~skerry.tmp"), model.state().panes[2].text);
    }
    // The 51st comment line is dropped, the 50th kept; a long line is cut to 96 characters.
    EXPECT_EQ(model.data().CommentBlock.line(1), std::string(96, 'x'));
}

TEST_F(BadInputTest, RefusedFitFilesShowTheirMessageAndChangeNothing) {
    dir.write("listed.RA1", "Cell 9\r\n" + points(4));
    struct Case {
        const char* name;
        std::string fit;
        const char* message; // empty: refused as quietly as a cancelled dialog
    };
    const char* const countError = "Error Reading FileCount::number!  Fit-File List Unusable.";
    const Case cases[] = {
        {"count 0", "[FileCount]\r\nnumber=0\r\n[File01]\r\nname=listed.RA1\r\n", countError},
        {"count missing", "[File01]\r\nname=listed.RA1\r\n", countError},
        {"count as text", "[FileCount]\r\nnumber=three\r\n[File01]\r\nname=listed.RA1\r\n",
         countError},
        {"count beyond 16 bits", "[FileCount]\r\nnumber=40000\r\n[File01]\r\nname=listed.RA1\r\n",
         ""},
        {"no listed file exists", "[FileCount]\r\nnumber=2\r\n[File01]\r\nname=gone.RA1\r\n",
         "No Data Files Were Found!"},
        {"an existing file at entry 16",
         "[FileCount]\r\nnumber=16\r\n[File01]\r\nname=listed.RA1\r\n"
         "[File16]\r\nname=listed.RA1\r\n",
         ""},
        {"binary garbage", garbage(), countError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before(model);
        platform.messages.clear();
        platform.answerDialog(dir.write("run.fit", c.fit).string());
        model.UseFitFile_Click();
        EXPECT_EQ(platform.messageTexts(), c.message[0] == '\0'
                                               ? std::vector<std::string>{}
                                               : std::vector<std::string>{c.message});
        EXPECT_FALSE(model.state().FilesLoaded.visible);
        before.expectSame(model, dir / "~skerry.tmp");
    }
}

} // namespace
} // namespace skerry
