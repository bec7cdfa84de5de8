#include "device/HidrawNodeAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace vantor {

namespace {

constexpr uint32_t kAclVersion = 2;
constexpr size_t kAclHeaderSize = 4;
constexpr size_t kAclEntrySize = 8;
constexpr uint16_t kReadWrite = 6;

uint32_t LittleEndian(const char* bytes, size_t size) {
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;) {
        value = (value << 8) | uint8_t(bytes[i]);
    }
    return value;
}

QString UserName(uint32_t uid) {
    const passwd* entry = ::getpwuid(uid);
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString GroupName(uint32_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry != nullptr ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

QString PermissionText(uint16_t permissions) {
    return QStringLiteral("%1%2%3")
        .arg((permissions & 4) != 0 ? QLatin1Char('r') : QLatin1Char('-'))
        .arg((permissions & 2) != 0 ? QLatin1Char('w') : QLatin1Char('-'))
        .arg((permissions & 1) != 0 ? QLatin1Char('x') : QLatin1Char('-'));
}

// The access ACL of a file, as its entries; the mode's three classes when it has none.
std::vector<AclEntry> AccessEntries(const QByteArray& path, uint32_t mode,
                                    std::vector<AclEntry>* extended) {
    QByteArray attribute(1024, '\0');
    const ssize_t size =
        ::getxattr(path.constData(), "system.posix_acl_access", attribute.data(), attribute.size());
    if (size > 0) {
        attribute.resize(size);
        if (std::optional<std::vector<AclEntry>> entries = ParseAccessAcl(attribute)) {
            *extended = *entries;
            return *entries;
        }
    }
    return {{AclEntry::UserObject, uint16_t((mode >> 6) & 7), 0},
            {AclEntry::GroupObject, uint16_t((mode >> 3) & 7), 0},
            {AclEntry::Other, uint16_t(mode & 7), 0}};
}

}  // namespace

UserIdentity UserIdentity::Current() {
    UserIdentity identity;
    identity.uid = ::geteuid();
    identity.groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i) identity.groups.push_back(groups[static_cast<size_t>(i)]);
    }
    return identity;
}

QString AclEntry::Text() const {
    QString qualifier;
    if (tag == User || tag == Group)
        qualifier = QString::number(id);
    const char* kind = tag == User || tag == UserObject     ? "user"
                       : tag == Group || tag == GroupObject ? "group"
                       : tag == Mask                        ? "mask"
                                                            : "other";
    return QStringLiteral("%1:%2:%3")
        .arg(QLatin1String(kind), qualifier, PermissionText(permissions));
}

std::optional<std::vector<AclEntry>> ParseAccessAcl(const QByteArray& attribute) {
    if (attribute.size() < qsizetype(kAclHeaderSize) ||
        (attribute.size() - kAclHeaderSize) % kAclEntrySize != 0 ||
        LittleEndian(attribute.constData(), 4) != kAclVersion) {
        return std::nullopt;
    }
    std::vector<AclEntry> entries;
    for (qsizetype at = kAclHeaderSize; at < attribute.size(); at += kAclEntrySize) {
        const char* entry = attribute.constData() + at;
        entries.push_back({uint16_t(LittleEndian(entry, 2)), uint16_t(LittleEndian(entry + 2, 2)),
                           LittleEndian(entry + 4, 4)});
    }
    return entries;
}

NodeAccess ReadNodeAccess(const QString& node, const UserIdentity& user) {
    NodeAccess access;
    const QByteArray path = QFile::encodeName(node);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        return access;
    }
    access.exists = true;
    access.owner = status.st_uid;
    access.group = status.st_gid;
    access.mode = status.st_mode & 07777;
    access.ownerName = UserName(access.owner);
    access.groupName = GroupName(access.group);
    const std::vector<AclEntry> entries = AccessEntries(path, access.mode, &access.acl);

    if (user.uid == 0) {
        access.decidingEntry = QStringLiteral("superuser");
        access.mayReadWrite = true;
        return access;
    }
    const auto find = [&](uint16_t tag, auto&& match) -> const AclEntry* {
        const auto it = std::ranges::find_if(
            entries, [&](const AclEntry& e) { return e.tag == tag && match(e); });
        return it != entries.end() ? &*it : nullptr;
    };
    const auto any = [](const AclEntry&) { return true; };
    const AclEntry* mask = find(AclEntry::Mask, any);
    const uint16_t limit = mask != nullptr ? mask->permissions : 7;
    const auto grants = [](uint16_t permissions) {
        return (permissions & kReadWrite) == kReadWrite;
    };

    if (user.uid == access.owner) {
        access.decidingEntry = QStringLiteral("owner");
        access.mayReadWrite = grants(uint16_t((access.mode >> 6) & 7));
        return access;
    }
    if (const AclEntry* named =
            find(AclEntry::User, [&](const AclEntry& e) { return e.id == user.uid; })) {
        access.decidingEntry = named->Text();
        access.mayReadWrite = grants(named->permissions & limit);
        return access;
    }
    const auto inGroup = [&](uint32_t gid) {
        return std::ranges::find(user.groups, gid) != user.groups.end();
    };
    bool member = false;
    for (const AclEntry& e : entries) {
        const bool matches = (e.tag == AclEntry::GroupObject && inGroup(access.group)) ||
                             (e.tag == AclEntry::Group && inGroup(e.id));
        if (!matches)
            continue;
        member = true;
        // Every group entry, the owning group's too, is limited by the mask; any one that
        // grants is enough.
        if (grants(uint16_t(e.permissions & limit))) {
            access.decidingEntry = e.tag == AclEntry::Group ? e.Text() : QStringLiteral("group");
            access.mayReadWrite = true;
            return access;
        }
    }
    if (member) {
        access.decidingEntry = QStringLiteral("group");
        return access;
    }
    access.decidingEntry = QStringLiteral("other");
    access.mayReadWrite = grants(uint16_t(access.mode & 7));
    return access;
}

int HidrawInterfaceNumber(const QString& sysfsRoot, const QString& nodeName) {
    const QString device = QFileInfo(sysfsRoot + QStringLiteral("/class/hidraw/") + nodeName +
                                     QStringLiteral("/device"))
                               .canonicalFilePath();
    if (device.isEmpty())
        return -1;
    const QString usbInterface = QFileInfo(device).path();
    QFile number(usbInterface + QStringLiteral("/bInterfaceNumber"));
    if (number.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const int value = number.readAll().trimmed().toInt(&ok, 16);
        if (ok)
            return value;
    }
    // A USB interface is named "<bus>-<port>[.<port>...]:<configuration>.<interface>".
    static const QRegularExpression name(QStringLiteral("^\\d+-[\\d.]+:\\d+\\.(\\d+)$"));
    const QRegularExpressionMatch match = name.match(QFileInfo(usbInterface).fileName());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QByteArray HidrawSysfsDescriptor(const QString& sysfsRoot, const QString& nodeName) {
    QFile file(sysfsRoot + QStringLiteral("/class/hidraw/") + nodeName +
               QStringLiteral("/device/report_descriptor"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace vantor
