// The skin INI files: every key a window reads, with a place inside its window, and no two
// controls of one window on top of each other except where the windows stack them.

#include "SkinFolder.h"

#include "keymodel/KeyTables.h"
#include "shell/skin/SkinKeyNames.h"

#include <QImageReader>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vantor::test {
namespace {

QStringList MainKeys() {
    QStringList keys = {
        "PELMAR_LINK", "FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL_HELP",
        "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY", "LOCK_CAPS", "LOCK_NUM",
        "LOCK_SCROLL", "LOCK_AB", "FLIP_0", "FLIP_1", "FLIP_2", "PELMAR_VER", "FUNC_PROFILE1", "FUNC_PROFILE2",
        "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_SWITCH", "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3",
        "FUNC_REPORT4", "KEY_FN", "COLOR_R", "COLOR_G", "COLOR_B", "LEFT_ARROW", "RIGHT_ARROW",
        // lighting panel
        "CONTROL_UsbStatic", "CONTROL_RGBStatic", "CONTROL_DengStatic", "CONTROL_DengStaPic", "CONTROL_XGcombox",
        "CONTROL_JDTStatic", "CONTROL_LightStatic", "CONTROL_LightSlider", "CONTROL_SpeedStatic",
        "CONTROL_SpeedSlider", "CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic",
        "CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic",
        "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic",
        "CONTROL_FYggcfStaPic", "CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC",
        "CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic",
        "CONTROL_JTysStatic", "CONTROL_JTysButton", "CONTROL_USERysStatic", "CONTROL_USERysButton",
        "CONTROL_USERjsStatic", "CONTROL_USERjsButton", "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1",
        "CONTROL_USERgjStaPic2", "CONTROL_Network", "CONTROL_Facebook", "CONTROL_twitter", "CONTROL_TSysStatic",
        "CONTROL_TSysButton", "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic", "CONTROL_CDysStatic",
        "CONTROL_CDysButton", "CONTROL_CDsjsStatic", "CONTROL_CDsjsStaPic", "CONTROL_umCombo",
        "CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2", "CONTROL_BLFXStatic3",
        "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"};
    for (int i = 1; i <= 8; ++i) keys << QStringLiteral("CONTROL_Color%1").arg(i);
    for (int i = 1; i <= 9; ++i) keys << GKeySkinName(i);
    for (KeyCode code : KeyList) keys << SkinKeyName(static_cast<uint16_t>(RowOfCode(code)));
    return keys;
}

const QStringList kCompositeKeys = {
    "CONTROL_MASK", "CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA", "CONTROL_MACRO",
    "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK", "CONTROL_CANCEL", "FUNC_MACRO_DELETE", "FUNC_MACRO_ADD",
    "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2",
    "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD", "FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_LIST2", "FUNC_MACRO_CYCLES",
    "FUNC_MACRO_CYCLES_PROMPT", "TISHI_SINGLE_STATIC", "MARCO_NAME_SETTING", "KEY_SETTING",
    "MEDIA_SETTING_TISHI", "FUNCTION_KEY_SETTING_TISHI", "FUNC_MACRO_RECORD_DELAY2", "FUNC_KEY_INPUT",
    "FUNC_MEDIA_SELECT", "FUNC_MACRO_LIST", "FUNC_FUNCTION_SELECT", "FUNC_KEY_RADIO_KB",
    "FUNC_KEY_RADIO_KB_STATIC", "FUNC_KEY_RADIO_MOU", "FUNC_KEY_RADIO_MOU_STATIC"};

const QStringList kProfileKeys = {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE",
                                  "CONTROL2_APPLY", "PROGRAM_LIST"};

const QStringList kUpdateKeys = {"CONTROL_UPStatic", "CONTROL_UPCombox", "CONTROL_CUPButton", "CONTROL_UPButton",
                                 "CONTROL_OPENButton", "CONTROL_BACKUPButton"};

// The keys this model lacks: kept at the 1,1 marker so the program disables them.
const std::set<QString> kAbsentKeys = {"KEY_056", "KEY_073"};

struct SkinFile {
    const char* ini;
    QStringList keys;
};

std::vector<SkinFile> SkinFiles() {
    return {{"Main.ini", MainKeys()}, {"Composite.ini", kCompositeKeys}, {"Profile.ini", kProfileKeys},
            {"UpdateDlg.ini", kUpdateKeys}};
}

QSize BackgroundSize(const IniDocument& ini) {
    return QImageReader(SkinPath(ini.ReadString(u"SCREEN", u"Main", {}))).size();
}

TEST(SkinFiles, EveryKeyAWindowReadsHasAPlaceInsideItsWindow) {
    for (const SkinFile& file : SkinFiles()) {
        SCOPED_TRACE(file.ini);
        const IniDocument ini = ReadSkinIni(file.ini);
        const QSize size = BackgroundSize(ini);
        ASSERT_TRUE(size.isValid()) << "background picture";
        const QRect window(QPoint(0, 0), size);
        for (const QString& key : file.keys) {
            SCOPED_TRACE(key.toStdString());
            ASSERT_TRUE(ini.Value(u"BUTTONINFO", key).has_value());
            const QRect r = GeometryOf(ini, key);
            if (kAbsentKeys.count(key)) {
                EXPECT_TRUE(r.x() == 1 && r.y() == 1);
                continue;
            }
            EXPECT_FALSE(r.x() == 1 && r.y() == 1) << "a placed control must not sit on the 1,1 marker";
            EXPECT_GE(r.width(), 8);
            EXPECT_GE(r.height(), 8);
            EXPECT_TRUE(window.contains(r)) << r.x() << "," << r.y() << "," << r.width() << "," << r.height();
        }
    }
}

// Main.ini's "SCREEN" link and the Flip arrows' picture origins.
TEST(SkinFiles, MainNamesItsLinkAndArrowOrigins) {
    const IniDocument ini = ReadSkinIni("Main.ini");
    const QString link = ini.ReadString(u"SCREEN", u"Link", {});
    EXPECT_TRUE(link.startsWith("https://"));
    EXPECT_LE(link.size(), 259);
    const QSize arrowPicture = QImageReader(SkinPath("Arrow.jpg")).size();
    for (const char* side : {"LEFT", "RIGHT"}) {
        const QSize arrow = GeometryOf(ini, QStringLiteral("%1_ARROW").arg(side)).size();
        for (const char* way : {"UP", "DOWN"}) {
            const QString key = OriginKeyName(QStringLiteral("%1_ARROW_%2").arg(way, side), 1);
            SCOPED_TRACE(key.toStdString());
            ASSERT_TRUE(ini.Value(u"BUTTONINFO2", key).has_value());
            const QRect origin = GeometryOf(ini, key, "BUTTONINFO2");
            EXPECT_TRUE(QRect(QPoint(0, 0), arrowPicture).contains(QRect(origin.topLeft() - QPoint(1, 1), arrow)));
        }
    }
}

// Controls that the windows show one at a time share a place; any other overlap is a fault.
// Main: the three direction sets (suffixes "", "2", "3"). Composite: the page area (the mask
// button) lies under the page contents, and the four pages' contents share it.
QString StackGroup(const QString& file, const QString& key) {
    if (file == "Main.ini" && key.startsWith("CONTROL_BLFX")) return key.chopped(key.endsWith('2') || key.endsWith('3') ? 1 : 0);
    return {};
}

QString CompositePage(const QString& key) {
    static const std::map<QString, QString> pages = {
        {"TISHI_SINGLE_STATIC", "key"}, {"FUNC_KEY_INPUT", "key"}, {"FUNC_KEY_RADIO_KB", "key"},
        {"FUNC_KEY_RADIO_KB_STATIC", "key"}, {"FUNC_KEY_RADIO_MOU", "key"}, {"FUNC_KEY_RADIO_MOU_STATIC", "key"},
        {"MEDIA_SETTING_TISHI", "media"}, {"FUNC_MEDIA_SELECT", "media"},
        {"FUNCTION_KEY_SETTING_TISHI", "function"}, {"FUNC_FUNCTION_SELECT", "function"},
        {"MARCO_NAME_SETTING", "macro"}, {"FUNC_MACRO_RECORD_DELAY2", "macro"}, {"FUNC_MACRO_RECORD_DELAY", "macro"}};
    if (auto it = pages.find(key); it != pages.end()) return it->second;
    if (key.startsWith("FUNC_MACRO_") && !key.startsWith("FUNC_MACRO_CYCLES")) return "macro";
    return {};
}

bool MayOverlap(const QString& file, const QString& a, const QString& b) {
    const QString ga = StackGroup(file, a);
    if (!ga.isEmpty() && ga == StackGroup(file, b)) return true;
    if (file != "Composite.ini") return false;
    if (a == "CONTROL_MASK") return !CompositePage(b).isEmpty();
    if (b == "CONTROL_MASK") return !CompositePage(a).isEmpty();
    const QString pa = CompositePage(a), pb = CompositePage(b);
    return !pa.isEmpty() && !pb.isEmpty() && pa != pb;
}

TEST(SkinFiles, NoTwoControlsOfOneWindowOverlap) {
    for (const SkinFile& file : SkinFiles()) {
        SCOPED_TRACE(file.ini);
        const IniDocument ini = ReadSkinIni(file.ini);
        // Every placed control of the file, the D keys included.
        const QStringList keys = ini.KeyNames(u"BUTTONINFO");
        for (int i = 0; i < keys.size(); ++i) {
            const QRect a = GeometryOf(ini, keys[i]);
            if (a.x() == 1 && a.y() == 1) continue;
            for (int j = i + 1; j < keys.size(); ++j) {
                const QRect b = GeometryOf(ini, keys[j]);
                if (b.x() == 1 && b.y() == 1) continue;
                if (a.intersects(b) && !MayOverlap(file.ini, keys[i], keys[j]))
                    ADD_FAILURE() << keys[i].toStdString() << " overlaps " << keys[j].toStdString();
            }
        }
    }
}

TEST(SkinFiles, CompositePageContentsLieInsideThePageArea) {
    const IniDocument ini = ReadSkinIni("Composite.ini");
    const QRect area = GeometryOf(ini, "CONTROL_MASK");
    for (const QString& key : kCompositeKeys)
        if (!CompositePage(key).isEmpty()) {
            EXPECT_TRUE(area.contains(GeometryOf(ini, key))) << key.toStdString();
        }
}

// The colour template new profiles are made from: three named modes, each with its brush and
// a colour for every LED position a key button uses.
TEST(SkinFiles, ColourTemplateHoldsThreeNamedModes) {
    const IniDocument ini = ReadSkinIni("UserDengColor_3.userd");
    EXPECT_EQ(ini.ReadString(u"PRESENTMODE", u"mode", QStringLiteral("x")), "0");
    std::vector<int> leds(KeyListLedPositions.begin(), KeyListLedPositions.end());
    leds.push_back(kExtraKeyLedPosition);
    leds.push_back(kFnLedPosition);
    std::set<QString> names;
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const QString name = ini.ReadString(u"MODENAME", QString::number(n), {});
        EXPECT_FALSE(name.isEmpty());
        names.insert(name);
        const QString section = QStringLiteral("Mode%1").arg(n);
        EXPECT_TRUE(ini.Value(section, u"tool").has_value());
        for (const QString& brush : {QStringLiteral("jcolor"), QStringLiteral("color")}) EXPECT_EQ(ini.ReadString(section, brush, {}).split(',').size(), 3);
        for (int k : leds) {
            const QStringList parts = ini.ReadString(section, QString::number(k), {}).split(',');
            ASSERT_EQ(parts.size(), 4) << "LED " << k;
            for (int i = 0; i < 3; ++i) {
                bool ok = false;
                const int v = parts[i].toInt(&ok);
                EXPECT_TRUE(ok && v >= 0 && v <= 255) << "LED " << k;
            }
            EXPECT_TRUE(parts[3] == "0" || parts[3] == "1");
        }
    }
    EXPECT_EQ(names.size(), 3u);
}

}  // namespace
}  // namespace vantor::test
