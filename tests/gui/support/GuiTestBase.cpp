#include "support/GuiTestBase.h"

#include <QMenu>
#include <QMenuBar>
#include <utility>

namespace skerry::test {

void GuiTestBase::setUpMainWindow(std::unique_ptr<ScriptedPlatform> own) {
    dir = std::make_unique<TempDir>();
    cwd = std::make_unique<CurrentDirectoryGuard>(dir->path());
    platform = own ? std::move(own) : std::make_unique<ScriptedPlatform>();
    platform->settingsDir = dir->path() / "config";
    program = std::make_unique<Program>();
    window = std::make_unique<MainWindow>(*program, *platform);
    window->show();
}

void GuiTestBase::tearDownMainWindow() {
    window.reset();
    program.reset();
    platform.reset();
    cwd.reset();
    dir.reset();
}

QAction* GuiTestBase::menuEntry(const QString& menu, const QString& entry) const {
    for (QAction* top : window->menuBar()->actions()) {
        if (top->text() != menu) {
            continue;
        }
        if (entry.isEmpty()) {
            return top;
        }
        for (QAction* action : top->menu()->actions()) {
            if (action->text() == entry) {
                return action;
            }
        }
    }
    return nullptr;
}

void GuiTestBase::getData(std::optional<std::string> path) {
    platform->answerDialog(std::move(path));
    menuEntry("File", "Get Data")->trigger();
}

bool GuiTestBase::openEditor(const std::function<void(EditorWindow&)>& script) {
    return withModal<EditorWindow>(menuEntry("Edit", "Data (graphically)"), script);
}

void GuiTestBase::withEditor(const std::function<void(EditorWindow&)>& script) {
    QVERIFY2(openEditor(script), "the editor did not open");
}

std::string GuiTestBase::copyExample(const std::string& name, const std::string& as) const {
    const auto copy = dir->path() / (as.empty() ? name : as);
    std::filesystem::copy_file(std::filesystem::path(SKERRY_EXAMPLES_DIR) / name, copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy.string();
}

} // namespace skerry::test
