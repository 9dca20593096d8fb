#include <QGuiApplication>
#include <iostream>
#include <memory>

#include "app/BatchPlots.h"
#include "skerry/editor/EditorModel.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/session/Settings.h"
#include "skerryui/editor/PlotFiles.h"
#include "skerryui/platform/QtPlatform.h"

namespace skerry {

namespace {

// The plot area of the editor on a 1920 x 1080 screen, in pixels, and the window around it,
// whose size sets the fonts.
constexpr int PlotWidth = 998;
constexpr int PlotHeight = 600;
constexpr int WindowWidth = 998;
constexpr int WindowHeight = 702;

// Qt's services without a desktop: a warning the editor would show in a message box (all values
// of an axis alike) goes to standard error instead.
class BatchPlatform : public QtPlatform {
public:
    MessageAnswer messageBox(std::string_view text, std::string_view /*title*/,
                             MessageIcon /*icon*/, MessageButtons /*buttons*/) override {
        std::cerr << "skerry-batch: " << text << "\n";
        return MessageAnswer::Ok;
    }
};

// Qt draws text only inside an application object: the first plot makes one, offscreen, so that
// no display is needed. Qt's own remarks (a missing runtime folder and the like) are not the
// user's concern; what fails is reported through the plot's result.
class Drawing {
public:
    Drawing() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }

    Done operator()(const DataSet& data, const std::string& path, PlotFile kind);

private:
    int argc_ = 1;
    char name_[13] = "skerry-batch";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

Done Drawing::operator()(const DataSet& data, const std::string& path, PlotFile kind) {
    if (!app_) {
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    BatchPlatform platform;
    // The colours of the user's settings file, else the built-in ones.
    PlotColours colours;
    readColours(ProfileFile::load(settingsFilePath(platform)), colours);
    // The plot as the editor shows it on opening: every point, the frame around all of them.
    EditorModel model(platform);
    model.loadPoints(data);
    model.Form_Resize(PlotWidth, PlotHeight, WindowWidth, WindowHeight);
    return writePlotFile(path, kind, model,
                         {toQColor(colours.GoodColor), toQColor(colours.DeletedColor)},
                         QSize(PlotWidth, PlotHeight), 2.0);
}

} // namespace

PlotWriter batchPlotWriter() {
    // Shared, so that the function can be copied; the application object goes with the last
    // copy, before the program's own end.
    auto drawing = std::make_shared<Drawing>();
    return [drawing](const DataSet& data, const std::string& path, PlotFile kind) {
        return (*drawing)(data, path, kind);
    };
}

} // namespace skerry
