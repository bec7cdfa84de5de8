#include "lighting/UserColourFile.h"

#include "shell/AtomicFile.h"
#include "shell/IniFile.h"
#include "shell/Paths.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>

namespace vantor {

namespace {

const QString kPresentSection = QStringLiteral("PRESENTMODE");
const QString kNameSection = QStringLiteral("MODENAME");
constexpr int kColourTemplateProfile = 3;

QString ModeSection(int mode) { return QStringLiteral("Mode%1").arg(mode); }

// Up to N decimal numbers separated by commas, as "%d,%d,..." reads them: numbers that do not
// parse keep their defaults, and so do all after the first that does not.
template <size_t N>
std::array<int, N> Numbers(const QString& text, std::array<int, N> numbers) {
    const QStringList parts = text.split(u',');
    for (size_t i = 0; i < N && i < size_t(parts.size()); ++i) {
        bool ok = false;
        const int value = parts[qsizetype(i)].trimmed().toInt(&ok);
        if (!ok) {
            break;
        }
        numbers[i] = value;
    }
    return numbers;
}

uint8_t Byte(int value) { return uint8_t(std::clamp(value, 0, 255)); }

Rgb ColourOf(const QString& text) {
    const auto n = Numbers<3>(text, {0, 0, 0});
    return {Byte(n[0]), Byte(n[1]), Byte(n[2])};
}

QString ColourText(const Rgb& c) {
    return QStringLiteral("%1,%2,%3").arg(c.red).arg(c.green).arg(c.blue);
}

bool CopyTemplate(const AppPaths& paths, int profile) {
    const std::optional<QByteArray> bytes =
        IniFile::ReadBytes(paths.SkinColourFile(kColourTemplateProfile));
    return bytes && WriteFileAtomically(paths.UserColourFile(profile), *bytes);
}

}  // namespace

UserColourFile::UserColourFile(QString path) : m_path(std::move(path)) {}

int UserColourFile::PresentMode() const {
    return std::max(0, Numbers<1>(IniFile(m_path).ReadString(kPresentSection, QStringLiteral("mode"),
                                                             QStringLiteral("0")),
                                  {0})[0]);
}

bool UserColourFile::SetPresentMode(int mode) {
    return IniFile(m_path).WriteString(kPresentSection, QStringLiteral("mode"), QString::number(mode));
}

QString UserColourFile::ModeName(int mode) const {
    return IniFile(m_path).ReadString(kNameSection, QString::number(mode), QStringLiteral("0"));
}

bool UserColourFile::SetModeName(int mode, const QString& name) {
    return IniFile(m_path).WriteString(kNameSection, QString::number(mode),
                                       IniDocument::CutToCapacity(name, IniDocument::kDefaultCapacity));
}

BrushState UserColourFile::Brush(int mode) const {
    const IniFile file(m_path);
    const QString section = ModeSection(mode);
    const QString zero = QStringLiteral("0,0,0");
    BrushState brush;
    brush.tool = Numbers<1>(file.ReadString(section, QStringLiteral("tool"), QStringLiteral("0")),
                            {0})[0] != 0 ? 1 : 0;
    brush.base = ColourOf(file.ReadString(section, QStringLiteral("jcolor"), zero));
    brush.key = ColourOf(file.ReadString(section, QStringLiteral("color"), zero));
    return brush;
}

bool UserColourFile::SetBrush(int mode, const BrushState& brush) {
    return IniFile(m_path).WriteStrings(ModeSection(mode),
                                        {{QStringLiteral("tool"), QString::number(brush.tool)},
                                         {QStringLiteral("jcolor"), ColourText(brush.base)},
                                         {QStringLiteral("color"), ColourText(brush.key)}});
}

KeyColourEntry UserColourFile::Entry(int mode, int ledPosition) const {
    const auto n = Numbers<4>(IniFile(m_path).ReadString(ModeSection(mode),
                                                         QString::number(ledPosition),
                                                         QStringLiteral("255,0,0,1")),
                              {255, 0, 0, 1});
    return {{Byte(n[0]), Byte(n[1]), Byte(n[2])}, n[3] != 0};
}

bool UserColourFile::SetEntries(int mode, const QList<std::pair<int, KeyColourEntry>>& entries) {
    QList<std::pair<QString, QString>> values;
    for (const auto& [led, entry] : entries) {
        values.push_back({QString::number(led),
                          ColourText(entry.colour) + (entry.baseMarker ? QStringLiteral(",1")
                                                                       : QStringLiteral(",0"))});
    }
    return IniFile(m_path).WriteStrings(ModeSection(mode), values);
}

bool ColourModeSetting() {
    return IniFile(AppPaths::Current()->ColourSettingsFile())
               .ReadString(QStringLiteral("KEYCOLOR"), QStringLiteral("DengCheck"),
                           QStringLiteral("0")) == QStringLiteral("1");
}

bool SetColourModeSetting(bool on) {
    const auto paths = AppPaths::Current();
    return paths->EnsureUserFolder() &&
           IniFile(paths->ColourSettingsFile())
               .WriteString(QStringLiteral("KEYCOLOR"), QStringLiteral("DengCheck"),
                            on ? QStringLiteral("1") : QStringLiteral("0"));
}

bool CreateUserColourFiles() {
    const auto paths = AppPaths::Current();
    if (!paths->EnsureUserFolder()) {
        return false;
    }
    bool all = true;
    for (int p = 0; p < 3; ++p) {
        if (!QFileInfo::exists(paths->UserColourFile(p))) {
            all = CopyTemplate(*paths, p) && all;
        }
    }
    return all;
}

bool ResetUserColourFile(int profile) { return CopyTemplate(*AppPaths::Current(), profile); }

}  // namespace vantor
