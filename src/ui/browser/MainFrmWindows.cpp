// The windows the main window opens from its menus, and the game controller that drives
// it from outside.

#include "core/library/Library.h"
#include "ui/about/AboutFrm.h"
#include "ui/browser/MainFrm.h"
#include "ui/common/Layout.h"
#include "ui/editor/OptionsFrm.h"
#include "ui/import/ImportFrm.h"
#include "ui/input/GamepadInput.h"

#include <QPushButton>

namespace {
void bringForward(QWidget *window)
{
    CentreOverParent(window);
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void MainFrm::AboutM_Click()
{
    library_.CleanupExtraction();
    if (about_ == nullptr)
        about_ = new AboutFrm(this);
    bringForward(about_);
}

void MainFrm::ENewM_Click()
{
    library_.CleanupExtraction();
    showEditor(EditorMode::Emulators);
}

void MainFrm::ERomM_Click()
{
    library_.CleanupExtraction();
    showEditor(EditorMode::Roms);
}

OptionsFrm *MainFrm::editor() const
{
    return editor_;
}

ImportFrm *MainFrm::importer() const
{
    return import_;
}

void MainFrm::showEditor(EditorMode mode)
{
    if (editor_ != nullptr) {
        editor_->showAgain(mode);
        return;
    }
    editor_ = new OptionsFrm(library_, mode, this);
    bringForward(editor_);
}

void MainFrm::ImportM_Click()
{
    library_.CleanupExtraction();
    if (import_ == nullptr)
        import_ = new ImportFrm(library_, this);
    bringForward(import_);
}

void MainFrm::useGamepad(GamepadInput &gamepad)
{
    connect(&gamepad, &GamepadInput::backPressed, this, [this] {
        if (isActiveWindow())
            Expand->click();
    });
    connect(&library_, &zanku::Library::emulatorsRunning, &gamepad, &GamepadInput::setSuspended);
    gamepad.setSuspended(library_.anyEmulatorRunning());
}
