#include <QApplication>
#include <QtTest>
#include <memory>

#include "skerry/session/StartUp.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/mainwindow/MainWindow.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

using namespace skerry;

namespace {

// Notes which top-level windows are on screen at each wait of start-up.
class WatchingPlatform : public test::ScriptedPlatform {
public:
    void sleep(std::chrono::milliseconds duration) override {
        ScriptedPlatform::sleep(duration);
        QStringList shown;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) {
                shown << w->objectName() + ":" + w->windowTitle() + "@" + QString::number(w->x()) +
                             "," + QString::number(w->y());
            }
        }
        shown.sort();
        seen << shown.join(' ');
    }
    QStringList seen;
};

} // namespace

class StartUpWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void splashThenMainWindow() {
        test::TempDir dir;
        WatchingPlatform platform;
        platform.settingsDir = dir.path();
        platform.screen = {1280, 1024};
        Program program;
        GuiStartUp windows(program, platform);

        QCOMPARE(runStartUp(program, platform, windows), StartUpOutcome::Running);

        // The splash (480 x 240) sits at a quarter of the free space; the main window
        // (820 x 560) likewise, and is not yet shown while start-up waits after loading it.
        QCOMPARE(platform.seen, QStringList({"Splash1:Skerry V0.999@200,196", "", ""}));
        MainWindow* main = windows.mainWindow();
        QVERIFY(main != nullptr);
        QVERIFY(main->isVisible());
        QCOMPARE(main->windowTitle(), QStringLiteral("Skerry V0.999.0028"));
        QCOMPARE(main->pos(), QPoint(115, 116));
        QVERIFY(std::filesystem::exists(dir.path() / "Skerry.ini"));

        platform.answerMessage(MessageAnswer::Yes);
        main->close();
    }

    void aSecondCopyShowsNothing() {
        WatchingPlatform platform;
        platform.otherInstance = true;
        Program program;
        GuiStartUp windows(program, platform);
        QCOMPARE(runStartUp(program, platform, windows), StartUpOutcome::AnotherCopyRunning);
        QCOMPARE(windows.mainWindow(), nullptr);
        QCOMPARE(platform.messages.size(), std::size_t(1));
    }
};

QTEST_MAIN(StartUpWindowsTest)
#include "StartUpWindowsTest.moc"
