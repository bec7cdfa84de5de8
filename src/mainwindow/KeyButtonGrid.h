#pragma once

#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyTables.h"
#include "mainwindow/KeyButtonLooks.h"
#include "ui/ImageButton.h"

#include <QObject>
#include <QString>

#include <map>
#include <vector>

namespace vantor {

// The main window's key buttons: one per key of the key list, the nine extra-key buttons and
// Fn, placed from the main skin file on the window's state pictures. It shows the looks it is
// given and reports clicks by control id; what a key does is decided elsewhere.
class KeyButtonGrid : public QObject {
    Q_OBJECT

public:
    // Extra-key buttons from this index on (G6-G9) are created disabled.
    static constexpr int kFirstDisabledExtraKey = 5;

    explicit KeyButtonGrid(QWidget* window);

    // Creates and places every button from the skin's "BUTTONINFO" section; the selected face
    // of each is `faces.selected`. A key the skin lacks is left 1 × 1 and disabled.
    void Place(const QString& skinIniPath, const ButtonFaces& faces);

    // The button of a control id, null when it is none of these.
    ImageButton* Button(int controlId) const;
    ImageButton* KeyButton(int keyListPosition) const;
    ImageButton* ExtraKeyButton(int index) const;
    ImageButton* FnButton() const { return Button(kFnButtonId); }

    ExtraKeyBank Bank() const { return m_bank; }
    void SetBank(ExtraKeyBank bank) { m_bank = bank; }

    void Show(const std::vector<KeyButtonLook>& looks);
    void Show(const KeyButtonLook& look);
    // The colour view: each button shows swatch `first` or `second` by its look's colour
    // selection while `on`, its usual faces when off.
    void ShowColourView(const std::vector<KeyButtonLook>& looks, const QPixmap* first,
                        const QPixmap* second, bool on);

    // Every button: outline off and the selected face off.
    void ResetLooks();
    // Whether every button already has outline and selected face off.
    bool AllPlain() const;

signals:
    void Clicked(int controlId);

private:
    ImageButton* Add(int controlId, const QString& skinKey, const QString& iniPath,
                    const ButtonFaces& faces);

    QWidget* m_window;
    std::map<int, ImageButton*> m_buttons;
    ExtraKeyBank m_bank = ExtraKeyBank::A;
};

}  // namespace vantor
