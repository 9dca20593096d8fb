#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "skerry/batch/BatchRun.h"
#include "skerry/colours/ColourDialogModel.h"
#include "skerry/commands/MainWindowModel.h"
#include "skerry/editor/EditorModel.h"
#include "skerry/operations/Comments.h"
#include "skerry/operations/Noise.h"
#include "skerry/suggest/Suggestion.h"
#include "support/FileConditions.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(std::string text, const std::string& separator) {
    std::vector<std::string> parts;
    for (std::size_t end; (end = text.find(separator)) != std::string::npos;
         text.erase(0, end + separator.size())) {
        parts.push_back(text.substr(0, end));
    }
    parts.push_back(text);
    return parts;
}

// The bytes of a file that must exist.
std::string contents(const fs::path& path) {
    EXPECT_TRUE(fs::is_regular_file(path)) << path << " is missing";
    return test::readBytes(path);
}

// A menu entry as scenarios write it: "-" when disabled, "~" when hidden, "*" when checked.
std::string shown(const std::string& name, const MenuEntry& e) {
    return name + (e.enabled ? "" : "-") + (e.visible ? "" : "~") + (e.checked ? "*" : "");
}

const std::pair<const char*, MenuEntry MainWindowState::*> menuEntries[] = {
    {"GetBlank", &MainWindowState::GetBlankData},   {"ClearBlank", &MainWindowState::ClearBlank},
    {"LoadedFiles", &MainWindowState::FilesLoaded}, {"Edit", &MainWindowState::EditMenuChoice},
    {"Save", &MainWindowState::SaveDataFile},       {"AddNoise", &MainWindowState::AddNoise},
    {"RemoveNoise", &MainWindowState::BackItOff}};

const std::map<std::string, void (MainWindowModel::*)()> saves = {
    {"complete", &MainWindowModel::SaveComplete_Click},
    {"complete-xi", &MainWindowModel::SaveCompleteRSq_Click},
    {"truncated", &MainWindowModel::SaveTruncated_Click},
    {"truncated-xi", &MainWindowModel::SaveTruncatedRSq_Click}};

// Runs one scenario file: the user's steps on the main window, or runs of skerry-batch, each
// followed by what must then hold. It runs in a fresh folder holding a copy of `work` beside the
// scenarios; expected bytes are files beside them too. tests/data/commands/README.md lists the
// steps and checks. The scenario also plays the user in the modal windows a step opens.
class Scenario : public ModalWindows {
public:
    explicit Scenario(const fs::path& root) : root_(root), cwd_(dir_.path()) {
        dir_.copyIn(root / "work");
        platform_.settingsDir = dir_ / "config";
        defineSteps();
    }

    void run(const fs::path& file) {
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            for (std::size_t at; (at = line.find("$DIR")) != std::string::npos;) {
                line.replace(at, 4, dir_.path().string());
            }
            SCOPED_TRACE(file.filename().string() + ":" + std::to_string(number) + ": " + line);
            const auto space = line.find(' ');
            step(line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1));
        }
        expectBatchOutputSeen();
        EXPECT_EQ(message(), "none") << "a message the scenario does not expect";
        EXPECT_EQ(platform_.endedWith, ended_);
    }

private:
    void step(const std::string& verb, const std::string& rest) {
        std::istringstream stream(rest);
        args_.assign(std::istream_iterator<std::string>(stream), {});
        rest_ = rest;
        const auto found = steps_.find(verb);
        if (found == steps_.end()) {
            ADD_FAILURE() << "no such step or check";
            return;
        }
        found->second();
    }

    // The steps and checks that a line may start with, each run with the line's other words.
    void defineSteps() {
        const auto add = [this](const char* name, std::function<void()> run) {
            steps_.emplace(name, std::move(run));
        };
        // The user's steps.
        add("getdata", [this] { answer(0).GetNewData_Click(); });
        add("blank", [this] { answer(0).GetBlankData_Click(); });
        add("clearblank", [this] { model_.ClearBlank_Click(); });
        add("fit", [this] { answer(0).UseFitFile_Click(); });
        // Files named on the command line or dropped on the window, as the window opens them.
        add("open", [this] { model_.OpenFiles(args_); });
        add("getrun", [this] {
            std::string paths;
            for (const std::string& path : expanded(args_)) {
                paths += (paths.empty() ? "" : "|") + (dir_ / path).string();
            }
            platform_.answerDialog(args_.empty() ? std::nullopt : std::optional(paths));
            model_.GetRun_Click();
        });
        add("scan", [this] { model_.RunScans_Click(std::stoul(arg(0)) - 1); });
        add("reopen", [this] { model_.DSNames_Click(std::stoi(arg(0)) - 1); });
        add("invert", [this] { model_.InvertC_Click(); });
        add("seed", [this] { platform_.seed = static_cast<std::uint32_t>(std::stoul(arg(0))); });
        add("noise", [this] { model_.AddNoise_Click(); });
        add("denoise", [this] { model_.BackItOff_Click(); });
        add("comments", [this] { model_.EditComment1_Click(); });
        add("edit", [this] { model_.DoVantor_Click(); });
        add("colours", [this] { model_.SetColors_Click(); });
        add("save", [this] { (answer(1).*saves.at(arg(0)))(); });
        add("answer", [this] {
            platform_.answerMessage(arg(0) == "no" ? MessageAnswer::No : MessageAnswer::Yes);
        });
        add("exit", [this] { EXPECT_EQ(model_.Form_Unload() ? "closes" : "stays", arg(0)); });
        add("batch", [this] { batch(args_); });
        // The file system around the program.
        add("cd", [this] { fs::current_path(dir_ / arg(0)); });
        add("mkdir", [this] { fs::create_directories(dir_ / arg(0)); });
        add("rm", [this] { fs::remove_all(dir_ / arg(0)); });
        add("cp", [this] { dir_.write(arg(1), test::readBytes(dir_ / arg(0))); });
        add("link", [this] { fs::create_symlink(arg(0), dir_ / arg(1)); });
        add("fifo", [this] { test::makeFifo((dir_ / arg(0)).string().c_str()); });
        add("chmod", [this] {
            fs::permissions(dir_ / arg(1), static_cast<fs::perms>(std::stoi(arg(0), nullptr, 8)));
        });
        // N copies of a file, named 00001, 00002, ... with its extension, in a new folder.
        add("copies", [this] {
            fs::create_directories(dir_ / arg(1));
            for (int i = 1; i <= std::stoi(arg(2)); ++i) {
                const std::string number = std::to_string(100000 + i).substr(1);
                fs::copy_file(dir_ / arg(0),
                              dir_ / arg(1) / (number + fs::path(arg(0)).extension().string()));
            }
        });
        // The largest file that may be written, as on a disk that is nearly full.
        add("limit", [this] {
            limit_.reset();
            if (arg(0) != "off") {
                limit_.emplace(std::stoul(arg(0)));
            }
        });
        // Checks.
        add("menus", [this] { EXPECT_EQ(menus(), rest_); });
        add("entries", [this] { EXPECT_EQ(entries(), rest_); });
        add("scans", [this] { EXPECT_EQ(scans(), rest_); });
        add("scan-count",
            [this] { EXPECT_EQ(model_.state().runScans.size(), std::stoul(arg(0))); });
        add("tabs", [this] {
            const auto& captions = model_.state().tabCaptions;
            EXPECT_EQ(test::withSlashes(captions[0] + "|" + captions[1] + "|" + captions[2]),
                      test::withSlashes(rest_));
        });
        add("pane", [this] { EXPECT_EQ(pane(arg(0)), contents(root_ / arg(1))); });
        // The pane and "~skerry.tmp" in the current directory.
        add("listing", [this] {
            EXPECT_EQ(pane("listing"), contents(root_ / arg(0)));
            EXPECT_EQ(contents("~skerry.tmp"), contents(root_ / arg(0)));
        });
        add("file", [this] { EXPECT_EQ(contents(dir_ / arg(0)), contents(root_ / arg(1))); });
        add("nofile", [this] { EXPECT_FALSE(fs::exists(dir_ / arg(0))); });
        add("same", [this] { EXPECT_EQ(contents(dir_ / arg(0)), contents(dir_ / arg(1))); });
        add("count", [this] {
            EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / arg(0)), {}), std::stoi(arg(1)));
        });
        add("cwd", [this] { EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_ / arg(0))); });
        add("message",
            [this] { EXPECT_EQ(test::withSlashes(message()), test::withSlashes(rest_)); });
        add("ended", [this] { ended_ = std::stoi(arg(0)); });
        add("colours-are", [this] {
            EXPECT_EQ(colourText(program_->colours.GoodColor) + " " +
                          colourText(program_->colours.DeletedColor),
                      rest_);
        });
        add("snapshot", [this] { snapshot_ = dump(); });
        add("unchanged", [this] { EXPECT_EQ(dump(), snapshot_); });
        add("out", [this] {
            EXPECT_EQ(out_, arg(0) == "usage" ? batchUsage(true) : contents(root_ / arg(0)));
            out_.clear();
        });
        add("err", [this] {
            const auto end = err_.find('\n');
            EXPECT_EQ(test::withSlashes(err_.substr(0, end)), test::withSlashes(rest_));
            err_.erase(0, end == std::string::npos ? end : end + 1);
        });
    }

    // The paths with "DIR/*" standing for the files of DIR in the order of their names, as a
    // shell has it.
    std::vector<std::string> expanded(const std::vector<std::string>& paths) const {
        std::vector<std::string> result;
        for (const std::string& path : paths) {
            if (!path.ends_with("/*")) {
                result.push_back(path);
                continue;
            }
            const std::string folder = path.substr(0, path.size() - 1);
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(dir_ / folder)) {
                names.push_back(folder + entry.path().filename().string());
            }
            std::sort(names.begin(), names.end());
            result.insert(result.end(), names.begin(), names.end());
        }
        return result;
    }

    // Word i of the step's arguments, or "" when there are fewer.
    std::string arg(std::size_t i) const { return i < args_.size() ? args_[i] : ""; }

    // A file dialog answered with a path in the scenario's folder, or cancelled without one;
    // then the command that opens it.
    MainWindowModel& answer(std::size_t i) {
        platform_.answerDialog(i < args_.size() ? std::optional((dir_ / args_[i]).string())
                                                : std::nullopt);
        return model_;
    }

    // Add Random Noise: the dialog must show the first field, then the user types the other fields
    // one after another until one is accepted; a refused one must bring the first back.
    void showNoiseDialog(NoiseDialogModel& dialog) override {
        const std::vector<std::string> fields = split(rest_, " | ");
        dialog.Form_Load({}, 0);
        EXPECT_EQ(dialog.NoiseLevel(), fields[0]);
        for (std::size_t i = 1; i < fields.size() && !dialog.IsDone_Click(fields[i]); ++i) {
            EXPECT_EQ(dialog.NoiseLevel(), fields[0]);
        }
    }

    // Comment Lines: "none" (the dialog must not open), or the text it must show ("-": any)
    // followed by "cancel", "ok FILE" (OK with FILE's text in the box) or "jammed FILE" (OK when
    // the comment file has meanwhile become a folder).
    void showCommentsDialog(CommentsDialogModel& dialog) override {
        ASSERT_NE(args_.at(0), "none") << "the dialog opened";
        if (args_[0] != "-") {
            EXPECT_EQ(dialog.RichTextBox1(), contents(root_ / args_[0]));
            EXPECT_EQ(contents("~comment.tmp"), dialog.RichTextBox1());
        }
        if (args_.at(1) == "jammed") {
            fs::remove("~comment.tmp");
            fs::create_directory("~comment.tmp");
        }
        if (args_[1] != "cancel") {
            EXPECT_EQ(dialog.IsOK_Click(contents(root_ / args_.at(2))), args_[1] == "ok");
            EXPECT_EQ(dialog.saved(), args_[1] == "ok");
        }
    }

    // Data (graphically) at 800 x 600 pixels: "T@I" chooses tool T and left-clicks point I,
    // "T@X,Y" clicks at plot units X, Y; "accept" is "Exit and update data set"; "showem" the
    // read-out's menu entry, "xy=0"/"xy=1" checks whether the read-out is on.
    void showEditor(EditorModel& editor) override {
        editor.Form_Resize(800, 600, 800, 640);
        for (const std::string& step : args_) {
            const auto at = step.find('@');
            const auto comma = step.find(',');
            if (step.starts_with("xy=")) {
                EXPECT_EQ(editor.view().ShowXY, step == "xy=1");
            } else if (step == "showem") {
                editor.ShowEm_Click();
            } else if (step == "accept") {
                editor.Toolbar_ButtonClick(7);
            } else if (step == "suggest") {
                editor.Toolbar_ButtonClick(9);
            } else {
                editor.Toolbar_ButtonClick(std::stoi(step));
                const PlotMapping map = editor.mapping();
                if (comma == std::string::npos) {
                    const int i = std::stoi(step.substr(at + 1));
                    editor.Form_MouseDown(MouseButton::Left, {}, map.plotX(editor.view().EditX(i)),
                                          map.plotY(editor.view().EditY(i)));
                } else {
                    editor.Form_MouseDown(MouseButton::Left, {}, std::stof(step.substr(at + 1)),
                                          std::stof(step.substr(comma + 1)));
                }
            }
        }
    }

    // Set Plot Colors: "I=V" moves slider I to V, which its component and both previews must
    // follow at once; then "ok", "cancel" or "close" (the close box).
    void showColourDialog(ColourDialogModel& dialog) override {
        for (const std::string& step : args_) {
            if (step == "ok") {
                dialog.IsOK_Click();
            } else if (step == "cancel") {
                dialog.ForgetIt_Click();
            } else if (step != "close") {
                const int slider = std::stoi(step);
                dialog.Slider1_Change(slider, std::stoi(step.substr(2)));
                EXPECT_EQ(dialog.Slider1(slider), std::stoi(step.substr(2)));
                EXPECT_EQ(dialog.Shape1Color(), program_->colours.GoodColor);
                EXPECT_EQ(dialog.Shape2Color(), program_->colours.DeletedColor);
            }
        }
    }

    // skerry-batch with the expected exit status first, then its arguments.
    void batch(std::vector<std::string> args) {
        expectBatchOutputSeen();
        const int status = std::stoi(args.at(0));
        args.erase(args.begin());
        std::ostringstream out;
        std::ostringstream err;
        // Plots are drawn by the program's Qt side; here a plot file names what it would show.
        const PlotWriter plots = [](const DataSet& data, const std::string& path, PlotFile kind,
                                    Platform& /*platform*/) {
            std::ofstream(path, std::ios::binary)
                << plotFileExtension(kind) << " plot of " << data.PointCount << " points\n";
            return Done();
        };
        EXPECT_EQ(runBatch(expanded(args), out, err, plots), status);
        out_ = out.str();
        err_ = err.str();
    }
    void expectBatchOutputSeen() const {
        EXPECT_EQ(out_, "") << "output the scenario does not expect";
        EXPECT_EQ(err_, "") << "messages the scenario does not expect";
    }

    // The next message box as "!o Title | Text": the icon ('!' exclamation, '?' question, '-'
    // none) and the buttons ('o' OK, 'y' Yes and No); "none" when there is no other.
    std::string message() {
        if (messagesSeen_ == platform_.messages.size()) {
            return "none";
        }
        const auto& m = platform_.messages[messagesSeen_++];
        const char icon = m.icon == MessageIcon::Exclamation ? '!'
                          : m.icon == MessageIcon::Question  ? '?'
                                                             : '-';
        return icon + std::string(m.buttons == MessageButtons::Ok ? "o " : "y ") + m.title + " | " +
               m.text;
    }

    std::string menus() const {
        std::string text;
        for (const auto& [name, entry] : menuEntries) {
            text += (text.empty() ? "" : " ") + shown(name, model_.state().*entry);
        }
        return model_.data().NoiseAdded ? text + " noise-added" : text;
    }

    // The "LoadedFiles" entries that have a caption or are enabled, visible or checked.
    std::string entries() const {
        std::string text;
        for (const MenuEntry& e : model_.state().DSNames) {
            if (!e.caption.empty() || e.enabled || e.visible || e.checked) {
                text += (text.empty() ? "" : " ") + shown("[" + e.caption + "]", e);
            }
        }
        return text;
    }

    // The run's scans as the window lists them, the current one marked with '*'.
    std::string scans() const {
        std::string text;
        const MainWindowState& state = model_.state();
        for (std::size_t i = 0; i < state.runScans.size(); ++i) {
            text += (text.empty() ? "" : " ") + std::string(i == state.currentScan ? "*" : "") +
                    state.runScans[i];
        }
        return text.empty() ? "none" : text;
    }

    std::string pane(const std::string& name) const {
        const int tab = name == "data" ? 0 : name == "blank" ? 1 : 2;
        return model_.state().panes.at(static_cast<std::size_t>(tab)).text;
    }

    static std::string colourText(const PlotColor& c) {
        return std::to_string(c.Red) + "," + std::to_string(c.Green) + "," + std::to_string(c.Blue);
    }

    template <typename T>
    static std::string bytesOf(const T& object) {
        return {reinterpret_cast<const char*>(&object), sizeof(object)};
    }

    // Everything a refused file or a cancelled dialog must leave as it was.
    std::string dump() const {
        const DataSet& d = model_.data();
        std::ostringstream text;
        text << menus() << '\n'
             << entries() << '\n'
             << pane("data") << pane("blank") << pane("listing") << d.DataFileName << ' '
             << d.PointCount << ' ' << d.CommentCount << ' ' << d.FirstGoodIndex << ' '
             << d.LastGoodIndex << ' ' << d.BlankLoaded << d.WorkDir << fs::current_path()
             << test::readBytes("~skerry.tmp") << bytesOf(d.RawPoints) << bytesOf(d.WorkPoints)
             << bytesOf(d.CommentBlock);
        for (const auto& caption : model_.state().tabCaptions) {
            text << caption << '|';
        }
        return text.str();
    }

    fs::path root_;
    test::TempDir dir_;
    test::CurrentDirectoryGuard cwd_;
    test::ScriptedPlatform platform_;
    std::unique_ptr<Program> program_ = std::make_unique<Program>();
    MainWindowModel model_{*program_, platform_, *this};
    std::optional<test::FileSizeLimit> limit_;
    std::size_t messagesSeen_ = 0;
    std::optional<int> ended_;
    std::string snapshot_;
    std::string out_;
    std::string err_;
    std::vector<std::string> args_; // of the step that is running
    std::string rest_;
    std::map<std::string, std::function<void()>> steps_;
};

std::vector<fs::path> scenarioFiles() {
    std::vector<fs::path> files;
    for (const char* area : {"commands", "batch"}) {
        for (const auto& entry :
             fs::directory_iterator(fs::path(SKERRY_TEST_DATA_DIR) / area / "scenarios")) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ScenarioTest : public testing::TestWithParam<fs::path> {};

TEST_P(ScenarioTest, HoldsStepByStep) {
    std::ifstream in(GetParam());
    for (std::string line; std::getline(in, line);) {
        if ((line.starts_with("limit ") && !test::fileSizeLimitsApply()) ||
            (line.starts_with("link ") && !test::symbolicLinksApply()) ||
            (line.starts_with("fifo ") && !test::fifosApply()) ||
            (line.starts_with("chmod ") && !test::permissionsApply())) {
            GTEST_SKIP() << "this system cannot " << line;
        }
    }
    Scenario(GetParam().parent_path().parent_path()).run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest, testing::ValuesIn(scenarioFiles()),
                         [](const testing::TestParamInfo<fs::path>& info) {
                             return info.param.parent_path().parent_path().filename().string() +
                                    "_" + info.param.stem().string();
                         });

// The comment dialog sits at a quarter of the free screen space, never above or left of it.
TEST(CommentsDialogModel, PlacedAtAQuarterOfTheFreeScreenSpace) {
    DataSet data;
    test::ScriptedPlatform platform;
    CommentsDialogModel dialog(data, platform);
    EXPECT_EQ(dialog.Form_Load(800, 500), (WindowPosition{280, 145}));
    platform.screen = {640, 480};
    EXPECT_EQ(dialog.Form_Load(800, 500), (WindowPosition{0, 0}));
}

} // namespace
} // namespace skerry
