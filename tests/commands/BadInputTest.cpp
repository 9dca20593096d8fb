#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CommandTest.h"

namespace skerry {
namespace {

using test::readBytes;

// Everything a refused file must leave as it was.
struct Snapshot {
    explicit Snapshot(const MainWindowModel& model)
        : data(std::make_unique<DataSet>(model.data())), state(model.state()) {}

    void expectSame(const MainWindowModel& model) const {
        const DataSet& now = model.data();
        EXPECT_EQ(now.DataFileName, data->DataFileName);
        EXPECT_EQ(now.PointCount, data->PointCount);
        EXPECT_EQ(now.CommentCount, data->CommentCount);
        EXPECT_EQ(now.FirstGoodIndex, data->FirstGoodIndex);
        EXPECT_EQ(now.LastGoodIndex, data->LastGoodIndex);
        EXPECT_EQ(std::memcmp(&now.RawPoints, &data->RawPoints, sizeof(PointArray)), 0);
        EXPECT_EQ(std::memcmp(&now.WorkPoints, &data->WorkPoints, sizeof(PointArray)), 0);
        EXPECT_EQ(std::memcmp(&now.CommentBlock, &data->CommentBlock, sizeof(CommentLines)), 0);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(model.state().panes[i].text, state.panes[i].text);
            EXPECT_EQ(model.state().tabCaptions[i], state.tabCaptions[i]);
        }
        for (std::size_t i = 0; i < MaxFitDataSets; ++i) {
            EXPECT_EQ(model.state().DSNames[i].caption, state.DSNames[i].caption);
            EXPECT_EQ(model.state().DSNames[i].visible, state.DSNames[i].visible);
            EXPECT_EQ(model.state().DSNames[i].checked, state.DSNames[i].checked);
        }
        // The listing stays where it was, and the dialog's folder change is undone.
        EXPECT_EQ(readBytes("~skerry.tmp"), state.panes[2].text);
        EXPECT_EQ(std::filesystem::current_path().string() + "/", data->WorkDir);
    }

    std::unique_ptr<DataSet> data;
    MainWindowState state;
};

std::string points(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "6." + std::to_string(1000 + i) + " 0.5 0.01\r\n";
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

// A good scan is loaded first; every refusal must leave it exactly as it is.
class BadInputTest : public test::CommandTest {
protected:
    BadInputTest() {
        loadScan();
        std::filesystem::create_directories(dir / "other" / "folder");
    }
};

TEST_F(BadInputTest, RefusedFilesAreNamedWithTheirReasonAndChangeNothing) {
    const char* const notData = "is not a data line (two or three numbers expected)";
    struct Case {
        const char* name;
        std::optional<std::string> bytes; // nullopt: not written
        std::string reason;
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
         std::string("line 5 ") + notData},
        {"folder", std::nullopt, "is a folder, not a file"},
        {"removed.RA1", std::nullopt, "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before(model);
        const auto path = dir / "other" / c.name;
        if (c.bytes) {
            dir.write(std::string("other/") + c.name, *c.bytes);
        }
        platform.messages.clear();
        getData(path.string());
        EXPECT_EQ(platform.messageTexts(),
                  std::vector<std::string>{"The data file " + path.string() +
                                           " was not read: " + c.reason + "."});
        EXPECT_EQ(platform.messages.at(0).title, "Data File Error");
        before.expectSame(model);
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
        {"2200-points", "c\r\n" + points(2200), 2200, 1},
        {"51-comments", commentLines(51) + points(2), 2, 50},
        {"huge-comment-line", std::string(10'000'000, 'x') + "\r\n" + points(2), 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        getData(dir.write(c.name, c.bytes).string());
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(data().PointCount, c.points);
        EXPECT_EQ(data().CommentCount, c.comments);
        EXPECT_EQ(readBytes(dir / "~skerry.tmp"), listing());
    }
    // A long line is cut to 96 characters.
    EXPECT_EQ(data().CommentBlock.line(1), std::string(96, 'x'));
}

// With a fit file's list in use, a refused fit file keeps the list, its entries and the data set
// as they were.
TEST_F(BadInputTest, RefusedFitFilesShowTheirMessageAndChangeNothing) {
    dir.write("listed.RA1", "Cell 9\r\n" + points(4));
    platform.answerDialog(dir.write("good.fit", "[FileCount]\r\nnumber=2\r\n"
                                                "[File01]\r\nname=scan.RA1\r\nXI_high=99\r\n"
                                                "[File02]\r\nname=listed.RA1\r\nXI_high=99\r\n")
                              .string());
    model.UseFitFile_Click();
    ASSERT_TRUE(state().FilesLoaded.visible);
    struct Case {
        const char* name;
        std::optional<std::string> fit; // nullopt: the dialog is cancelled
        const char* message;            // empty: refused as quietly as a cancelled dialog
    };
    const char* const countError = "Error Reading FileCount::number!  Fit-File List Unusable.";
    const Case cases[] = {
        {"cancelled", std::nullopt, ""},
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
        platform.answerDialog(c.fit ? std::optional(dir.write("run.fit", *c.fit).string())
                                    : std::nullopt);
        model.UseFitFile_Click();
        EXPECT_EQ(platform.messageTexts(), c.message[0] == '\0'
                                               ? std::vector<std::string>{}
                                               : std::vector<std::string>{c.message});
        before.expectSame(model);
        // The list still opens its entries.
        model.DSNames_Click(1);
        EXPECT_EQ(data().PointCount, 4);
        model.DSNames_Click(0);
        EXPECT_EQ(data().PointCount, 5);
    }
}

} // namespace
} // namespace skerry
