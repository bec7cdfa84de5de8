#include "shell/skin/SkinGeometry.h"

#include "shell/skin/SkinIni.h"
#include "shell/skin/SkinKeyNames.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(SkinGeometry, ParsesUpToFourNumbers) {
    struct Case {
        const char* value;
        SkinGeometry expected;
    };
    const Case cases[] = {
        {"100,200,40,30", {100, 200, 40, 30}},
        {"1,1,1,1,x", {1, 1, 1, 1}},
        {"10,20,30,40,50", {10, 20, 30, 40}},
        {"10,20,30,40junk", {10, 20, 30, 40}},
        {" 10,\t20,  30, 40", {10, 20, 30, 40}},
        {"10 ,20,30,40", {10, 0, 0, 0}},      // no blank before a comma
        {"10,20", {10, 20, 0, 0}},            // missing numbers are 0
        {"10,,30,40", {10, 0, 0, 0}},
        {"-5,+6,7,8", {-5, 6, 7, 8}},
        {"- 5,6,7,8", {0, 0, 0, 0}},
        {"x,1,1,1", {0, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"99999999999999999999,-99999999999,3,4", {32767, -32768, 3, 4}},
        {"\xD9\xA1,2,3,4", {0, 0, 0, 0}},  // only ASCII digits count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseSkinGeometry(QString::fromUtf8(c.value)), c.expected) << c.value;
    }
}

TEST(SkinGeometry, OnlyOneOneMarksALeftOutControl) {
    EXPECT_TRUE(ParseSkinGeometry(u"1,1,50,50").IsDisabledMarker());
    EXPECT_TRUE(SkinGeometry{}.IsDisabledMarker());
    EXPECT_FALSE(ParseSkinGeometry(u"2,1,30,30").IsDisabledMarker());
    EXPECT_FALSE(ParseSkinGeometry(u"1,2,30,30").IsDisabledMarker());
    EXPECT_FALSE(ParseSkinGeometry(u"").IsDisabledMarker());
    EXPECT_EQ(ParseSkinGeometry(u"100,200,40,30").Rect(), QRect(100, 200, 40, 30));
}

TEST(SkinGeometry, ReadsFromASkinFileWithTheDefaultForWhatIsMissing) {
    test::TestEnvironment env;
    const QString main = env.WriteProgramFile(
        "Skins/Main.ini",
        "[BUTTONINFO]\r\nKEY_01E=100,200,40,30\r\nLOCK_CAPS=1,1,50,50\r\nEMPTY=\r\n"
        "LONG=" + QByteArray(300, '0') + "5,6,7,8\r\n"
        "[BUTTONINFO2]\r\nUP_ARROW_LEFT1=12,34\r\n");
    EXPECT_EQ(ReadSkinGeometry(main, "BUTTONINFO", "key_01e"), (SkinGeometry{100, 200, 40, 30}));
    EXPECT_EQ(ReadSkinGeometry(main, "BUTTONINFO", "LOCK_CAPS"), (SkinGeometry{1, 1, 50, 50}));
    EXPECT_EQ(ReadSkinGeometry(main, "BUTTONINFO2", "UP_ARROW_LEFT1").Origin(), QPoint(12, 34));
    // A value present but empty is not the default.
    EXPECT_EQ(ReadSkinGeometry(main, "BUTTONINFO", "EMPTY"), (SkinGeometry{0, 0, 0, 0}));
    // Read into 260 characters: the numbers past the cut are not seen.
    EXPECT_EQ(ReadSkinGeometry(main, "BUTTONINFO", "LONG"), (SkinGeometry{0, 0, 0, 0}));

    const SkinGeometry fallback{1, 1, 1, 1};
    EXPECT_EQ(ReadSkinGeometry(main, "BUTTONINFO", "KEY_FN"), fallback);
    EXPECT_EQ(ReadSkinGeometry(main, "NOSECTION", "KEY_01E"), fallback);
    EXPECT_EQ(ReadSkinGeometry(env.SkinFolder() + "/Missing.ini", "BUTTONINFO", "KEY_01E"), fallback);
}

TEST(SkinGeometry, KeyNamesAreMadeFromNumbers) {
    EXPECT_EQ(SkinKeyName(0x1E), "KEY_01E");
    EXPECT_EQ(SkinKeyName(0x11D), "KEY_11D");
    EXPECT_EQ(SkinKeyName(0x1ABC), "KEY_1ABC");
    EXPECT_EQ(GKeySkinName(9), "FUNC_G9");
    EXPECT_EQ(OriginKeyName("DOWN_ARROW_RIGHT", 1), "DOWN_ARROW_RIGHT1");
}

TEST(SkinIni, ReadsScreenStringsCutToItsBuffer) {
    test::TestEnvironment env;
    const SkinIni ini(env.WriteProgramFile(
        "Skins/Profile.ini",
        "[SCREEN]\nMain=Profile_normal.jpg\nMask=\nLong=" + QByteArray(3000, 'p') + "\n"));
    EXPECT_EQ(ini.ReadString("SCREEN", "Main"), "Profile_normal.jpg");
    EXPECT_EQ(ini.ReadString("SCREEN", "Mask", "fallback"), std::nullopt);
    EXPECT_EQ(ini.ReadString("SCREEN", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("SCREEN", "Missing"), std::nullopt);
    EXPECT_EQ(ini.ReadString("SCREEN", "Long")->size(), 2046);
}

}  // namespace
}  // namespace vantor
