#include "mainwindow/MainWindow.h"

#include "device/DeviceState.h"
#include "keymodel/KeyTables.h"
#include "lighting/KeyColours.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/LightingSlots.h"
#include "shell/lang/Language.h"
#include "shell/tray/OpenHelp.h"
#include "ui/ImageButton.h"

namespace vantor {

// Colour view ---------------------------------------------------------------------------------

void MainWindow::SetColourView(bool on) { SetColourView(on, CurrentKeyButtonLooks()); }

void MainWindow::SetColourView(bool on, const std::vector<KeyButtonLook>& looks) {
    m_colourView = on;
    if (ImageButton* button = Button(ControlIds::kSwitch)) {
        button->setText(LanguageText(on ? QStringLiteral("MAIN_SWITCH_COLOR_TEXT")
                                        : QStringLiteral("MAIN_SWITCH_FUNCTION_TEXT")));
    }
    m_keys->ShowColourView(looks, m_pictures.colour0, m_pictures.colour1, m_colourView);
}

// Key buttons ---------------------------------------------------------------------------------

void MainWindow::RefreshKeyButtons() { ShowKeyButtons(CurrentKeyButtonLooks()); }

std::vector<KeyButtonLook> MainWindow::CurrentKeyButtonLooks() {
    std::lock_guard lock(m_store.Lock());
    return KeyButtonLooks(m_store.Data(), ShownBlock(m_setup.deviceState->ActiveProfile()),
                          m_keys->Bank());
}

void MainWindow::ShowKeyButtons(const std::vector<KeyButtonLook>& looks) {
    m_keys->Show(looks);
    ApplyFlip();
}

void MainWindow::ResetProfileAssignments(int block) {
    if (block < 0 || block >= kOnBoardProfileCount) return;
    {
        std::lock_guard lock(m_store.Lock());
        if (m_store.Data().HasImage()) ResetKeyAssignments(m_store.Data().Block(block), m_keys->Bank());
        // The buttons show the active profile's block, which may be another one.
        RefreshKeyButtons();
    }
    SetUnappliedChanges(true);
}

void MainWindow::ResetKeyButton(int record) {
    if (const auto look = PlainLookOfRecord(record, m_keys->Bank())) m_keys->Show(*look);
}

void MainWindow::OnKeyClick(int controlId) {
    if (IsClosing()) return;
    const bool extraKey = ExtraKeyButtonIndexOf(controlId) >= 0;
    if (m_colourMode && !extraKey) {
        PaintKey(controlId);
        return;
    }
    // Fn has nothing to assign; it only takes part in painting colours.
    if (controlId == kFnButtonId) return;
    m_keyAssign->OpenForButton(controlId);
}

KeyAssignDialog::Host MainWindow::KeyAssignHost() {
    KeyAssignDialog::Host host;
    host.store = &m_store;
    host.block = [this] { return ShownBlock(m_setup.deviceState->ActiveProfile()); };
    host.bank = [this] { return m_keys->Bank(); };
    host.colourView = [this] { return m_colourView; };
    host.buttonRect = [this](int controlId) {
        const ImageButton* button = m_keys->Button(controlId);
        return button ? QRect(button->mapToGlobal(QPoint(0, 0)), button->size()) : QRect();
    };
    // Hovered while the dialog is open; normal faces, and the disabled picture as selected,
    // once it closes.
    host.showButtonOpen = [this](int controlId, bool open) {
        using enum StateImage;
        if (ImageButton* button = m_keys->Button(controlId))
            button->SetPictures(open ? m_pictures.Faces({O, O, D, N, O}) : m_pictures.Faces({N, O, D, N, X}));
    };
    host.recordsChanged = [this] {
        m_keys->Show(CurrentKeyButtonLooks());
        SetUnappliedChanges(true);
    };
    host.colourChanged = [this] {
        SetColourView(m_colourView);
        SetUnappliedChanges(true);
    };
    host.help = [] { OpenHelp(); };
    return host;
}

void MainWindow::SetKeyButtonColour(int controlId, uint32_t colour, bool on) {
    if (ImageButton* button = m_keys->Button(controlId)) {
        button->SetOutline(colour, on);
        button->update();
    }
}

void MainWindow::ResetKeyButtonLooks() { m_keys->ResetLooks(); }

void MainWindow::PreviewTick() {
    if (!m_previewSource) return;
    const PreviewFrame& frame = m_preview.Tick(m_previewSource());
    // Only buttons whose look changes are redrawn: many keep theirs from one tick to the next,
    // and every redraw repaints the window's picture beneath the button.
    if (frame.PlainAll() && !m_keys->AllPlain()) ResetKeyButtonLooks();
    frame.ForEachTouched([this](int controlId, const PreviewFrame::Key& key) {
        if (key.look != PreviewFrame::Look::Painted) return;
        const uint32_t colour = ColourRefOf(key.colour);
        const ImageButton* button = m_keys->Button(controlId);
        if (button && !(button->IsOutlined() && button->OutlineColour() == colour))
            SetKeyButtonColour(controlId, colour, true);
    });
}

void MainWindow::SetExtraKeyBank(ExtraKeyBank bank) {
    m_keys->SetBank(bank);
    RefreshKeyButtons();
}

void MainWindow::SetColourMode(bool on) {
    m_colourMode = on;
    if (on && !m_previewTimer.isActive()) m_previewTimer.start(kPreviewFirstMs);
    if (!on) m_previewTimer.stop();
}

void MainWindow::PaintKey(int controlId) { m_lighting->PaintKey(controlId); }

}  // namespace vantor
