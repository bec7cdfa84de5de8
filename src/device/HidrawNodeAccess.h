#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantor {

// Who is asking: a user id and the groups it is in.
struct UserIdentity {
    uint32_t uid = 0;
    std::vector<uint32_t> groups;  // the primary group among them

    // The process's own.
    static UserIdentity Current();
};

// One entry of a POSIX access ACL, as the kernel keeps it in the "system.posix_acl_access"
// attribute.
struct AclEntry {
    enum Tag : uint16_t {
        UserObject = 0x01,
        User = 0x02,
        GroupObject = 0x04,
        Group = 0x08,
        Mask = 0x10,
        Other = 0x20,
    };
    uint16_t tag = 0;
    uint16_t permissions = 0;  // 4 read, 2 write, 1 execute
    uint32_t id = 0;           // the user or group of User and Group entries

    // getfacl's form: "user:1000:rw-", "mask::rw-".
    QString Text() const;
};

// The entries of an access ACL attribute; nullopt when the bytes are not one.
std::optional<std::vector<AclEntry>> ParseAccessAcl(const QByteArray& attribute);

// What the file system says about a device node, for telling why it cannot be opened.
struct NodeAccess {
    bool exists = false;
    uint32_t owner = 0;
    uint32_t group = 0;
    uint32_t mode = 0;  // permission bits
    QString ownerName;  // empty when the id has no name
    QString groupName;
    std::vector<AclEntry> acl;  // empty without an extended ACL
    // The entry that decides for the user ("user:1000:rw-"), or the mode class that does
    // ("owner", "group", "other"), or "superuser".
    QString decidingEntry;
    bool mayReadWrite = false;  // by the rules of POSIX ACLs, for the identity asked about
};

// Looks at the node (following links) for the identity, the way the kernel's permission check
// does: the owner's bits, else a named-user entry, else the groups (owning group and named
// groups, any of which may grant), else the others' bits; named entries and groups are limited
// by the mask. The superuser may always.
NodeAccess ReadNodeAccess(const QString& node, const UserIdentity& user);

// The USB interface number of a hidraw node's device, from sysfs; -1 when it is not on USB.
int HidrawInterfaceNumber(const QString& sysfsRoot, const QString& nodeName);

// The report descriptor of a hidraw node as sysfs gives it; empty when it cannot be read.
QByteArray HidrawSysfsDescriptor(const QString& sysfsRoot, const QString& nodeName);

}  // namespace vantor
