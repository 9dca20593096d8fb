#include <QGuiApplication>
#include <memory>

#include "app/BatchPlots.h"
#include "skerry/editor/EditorModel.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/session/Settings.h"
#include "skerryui/editor/PlotFiles.h"

namespace skerry {

namespace {

// Around the plot, the editor's window holds its title bar, menu bar, tall toolbar and read-out
// strip: on a 1920 x 1080 screen, with a desktop's usual fonts, 102 pixels of its height. The
// figure is fixed, so that a run's plots have the same size wherever they are drawn.
constexpr int AroundThePlot = 102;

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

    Done operator()(const DataSet& data, const std::string& path, PlotFile kind,
                    Platform& platform);

private:
    int argc_ = 1;
    char name_[13] = "skerry-batch";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

Done Drawing::operator()(const DataSet& data, const std::string& path, PlotFile kind,
                         Platform& platform) {
    if (!app_) {
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    // The colours of the user's settings file, else the built-in ones.
    PlotColours colours;
    readColours(ProfileFile::load(settingsFilePath(platform)), colours);
    // The plot as the editor shows it on opening, in the window it opens on the platform's
    // screen: every point, the frame around all of them.
    EditorModel model(platform);
    Run run;
    run.assign({RunScan{data, {}}});
    model.loadRun(run);
    model.Form_Load(false);
    const EditorLayout& window = model.view().Layout;
    const QSize plot(window.width, window.height - AroundThePlot);
    model.Form_Resize(plot.width(), plot.height(), window.width, window.height);
    return writePlotFile(path, kind, model.view(),
                         {toQColor(colours.GoodColor), toQColor(colours.DeletedColor)}, plot, 2.0);
}

} // namespace

PlotWriter batchPlotWriter() {
    // Shared, so that the function can be copied; the application object goes with the last
    // copy, before the program's own end.
    auto drawing = std::make_shared<Drawing>();
    return
        [drawing](const DataSet& data, const std::string& path, PlotFile kind, Platform& platform) {
            return (*drawing)(data, path, kind, platform);
        };
}

} // namespace skerry
