#include "mainwindow/MainWindow.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/FlipSetting.h"
#include "mainwindow/FunctionButtonTable.h"
#include "mainwindow/KeyButtonGrid.h"
#include "ui/ImageButton.h"
#include "ui/SkinLook.h"
#include "ui/SkinPlacement.h"

namespace vantor {

namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

// White text, blue while hovered and pressed, grey when disabled; centred on one line.
ButtonTextStyle LanguageTextStyle(int pointSize, uint32_t format = TextFormat::kDefault) {
    return ButtonTextStyle{true, pointSize, look::kFont,
                           {0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF}, format};
}

}  // namespace

void MainWindow::PlaceButtons() {
    namespace Id = ControlIds;
    for (const FunctionButtonRow& row : kFunctionButtons) {
        ImageButton* button = Buttons().Add({row.id, row.skinKey});
        button->SetTextStyle(row.textKey
                                 ? LanguageTextStyle(row.textSize)
                                 : ButtonTextStyle{false, 8, look::kFont, {}, {}});
        Buttons().Place(row.id, SkinIniPath(), m_pictures.Faces(row.faces));
        if (row.disabled) button->setEnabled(false);
    }
    // The profile manager's button carries its text turned up the slanted edge of its picture.
    Button(Id::kProfiles)->SetTextStyle(
        LanguageTextStyle(10, TextFormat::kBottom | TextFormat::kSingleLine));
    Button(Id::kProfiles)->SetEscapement(268, true);
    Button(Id::kLink)->SetToolTipText(m_link);
    Button(Id::kApply)->setEnabled(m_unappliedChanges);
    ImageButton* version = Button(Id::kVersion);
    version->SetTextStyle(ButtonTextStyle{true, 8, QStringLiteral("Verdana Unicode MS"), {},
                                          TextFormat::kVCenter | TextFormat::kSingleLine});
    version->setText(QString());
    Button(Id::kSwitch)->SetTextStyle(
        LanguageTextStyle(10, TextFormat::kVCenter | TextFormat::kSingleLine));
    Button(Id::kSwitch)->hide();  // nothing in the program shows it
    PlaceFlipButtons();
}

void MainWindow::PlaceFlipButtons() {
    namespace Id = ControlIds;
    PlaceFnLayerKeys();
    // Siblings paint in stacking order, so the buttons that overlap the big pictures of
    // LOCK_AB, FLIP_0 and Enter are raised above them once rather than repainted after them.
    for (int i = 0; i < kExtraKeyButtonCount; ++i) m_keys->ExtraKeyButton(i)->raise();
    if (ImageButton* bracket = m_keys->Button(ControlIds::kRightBracketKey)) bracket->raise();
    for (const int id : Id::kF1ToF4)
        if (ImageButton* key = m_keys->Button(id)) key->raise();
    if (ImageButton* f5 = m_keys->Button(Id::kF5)) f5->raise();
    Button(Id::kFlip1)->raise();
    Button(Id::kFlip2)->raise();
    Button(Id::kLeftArrow)->raise();
    Button(Id::kRightArrow)->raise();
    // The arrows follow the Flip setting each time their button is drawn in its normal state.
    Button(Id::kFlip1)->SetAfterDraw([this](ImageButton*, bool normalFace) {
        if (normalFace) PlaceArrow(ControlIds::kLeftArrow, true);
    });
    Button(Id::kFlip2)->SetAfterDraw([this](ImageButton*, bool normalFace) {
        if (normalFace) PlaceArrow(ControlIds::kRightArrow, false);
    });
    ApplyFlip();
}

void MainWindow::PlaceFnLayerKeys() {
    // D1-D6 take the place the skin gives "KEY_D1".."KEY_D6" and draw no picture of their own:
    // the window's picture shows them. They click as key buttons.
    for (size_t i = 0; i < ControlIds::kD1ToD6.size(); ++i) {
        const int id = ControlIds::kD1ToD6[i];
        auto* button = new ImageButton(this);
        button->setObjectName(QString::number(id));
        PlaceControl(*button, SkinIniPath(), kButtonInfo, QStringLiteral("KEY_D%1").arg(i + 1));
        connect(button, &ImageButton::clicked, this, [this, id] { OnKeyClick(id); });
        Buttons().Adopt(id, button);
    }
}

void MainWindow::PlaceArrow(int id, bool left) {
    // Placing repaints the arrow, which lies over its Flip button: only a change of the
    // setting places it again, so the two never keep each other painting.
    int& placedFor = m_arrowFlip[left ? 0 : 1];
    if (placedFor == m_flip) return;
    placedFor = m_flip;
    const QString origin = QStringLiteral("%1%2").arg(
        m_flip != 0 ? (left ? u"UP_ARROW_LEFT" : u"UP_ARROW_RIGHT")
                    : (left ? u"DOWN_ARROW_LEFT" : u"DOWN_ARROW_RIGHT"),
        QString::number(1));
    PlaceWithOrigin(*Button(id), SkinIniPath(), kButtonInfo,
                    left ? QStringLiteral("LEFT_ARROW") : QStringLiteral("RIGHT_ARROW"),
                    QStringLiteral("BUTTONINFO2"), origin, m_pictures.arrow);
    Button(id)->setEnabled(false);
}

void MainWindow::ApplyFlip() {
    namespace Id = ControlIds;
    m_flip = ReadFlipSetting();
    const bool on = m_flip != 0;
    for (const int id : Id::kF1ToF4)
        if (ImageButton* key = m_keys->Button(id)) key->setEnabled(!on);
    for (const int id : Id::kD1ToD6)
        if (ImageButton* key = Button(id)) key->setEnabled(on);
    // The second loading of N is the same picture; the face origin stays the skin's.
    if (ImageButton* flip0 = Button(Id::kFlip0)) {
        flip0->SetPictures({m_pictures.normal, m_pictures.normal, m_pictures.normal,
                            m_pictures.normal, m_pictures.disabled});
    }
    if (ImageButton* flip1 = Button(Id::kFlip1)) flip1->update();
    if (ImageButton* flip2 = Button(Id::kFlip2)) flip2->update();
}

void MainWindow::ToggleFlip() {
    WriteFlipSetting(ReadFlipSetting() != 0 ? 0 : 1);
    ApplyFlip();
}

void MainWindow::SetUnappliedChanges(bool on) {
    m_unappliedChanges = on;
    if (ImageButton* apply = Button(ControlIds::kApply)) apply->setEnabled(on);
}

}  // namespace vantor
