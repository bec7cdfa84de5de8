#include "shell/IniFile.h"

#include "shell/FileStamp.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class IniFileTest : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, WritesANewFileAsUtf16AndKeepsAnExistingFilesEncoding) {
    const QString fresh = PathOf("fresh.ini");
    ASSERT_TRUE(IniFile(fresh).WriteString("S", "K", "v"));
    EXPECT_EQ(Contents(fresh), QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0v\0\r\0\n\0", 22));

    const QString utf8 = PathOf("utf8.ini");
    Put(utf8, "[S]\nK=v\n");
    ASSERT_TRUE(IniFile(utf8).WriteString("S", "K", QString::fromUtf8("é")));
    EXPECT_EQ(Contents(utf8), "[S]\nK=\xC3\xA9\n");
    EXPECT_EQ(IniFile(utf8).Value("s", "k"), QString::fromUtf8("é"));
}

TEST_F(IniFileTest, AMissingFileReadsAsEmptyAndAMissingFolderFailsTheWrite) {
    const IniFile missing(PathOf("none.ini"));
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.ReadString("S", "K", "dflt"), "dflt");
    EXPECT_TRUE(missing.SectionNames().isEmpty());

    IniFile nested(PathOf("no/such/folder.ini"));
    EXPECT_FALSE(nested.WriteString("S", "K", "v"));
    EXPECT_FALSE(QFileInfo::exists(PathOf("no")));
}

TEST_F(IniFileTest, ReadsSeeWritesAtOnce) {
    IniFile file(PathOf("live.ini"));
    ASSERT_TRUE(file.WriteString("S", "K", "1"));
    EXPECT_EQ(file.Value("S", "K"), "1");
    ASSERT_TRUE(file.WriteString("S", "K", "2"));
    EXPECT_EQ(file.Value("S", "K"), "2");
    ASSERT_TRUE(file.WriteString("S", "L", "3"));
    EXPECT_EQ(file.KeyNames("S"), QStringList({"K", "L"}));
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileIntact) {
    const QString path = PathOf("kept.ini");
    const QByteArray original = "[S]\nK=" + QByteArray(200, 'o') + "\n";
    Put(path, original);
    IniFile file(path);
    ASSERT_EQ(file.Value("S", "K"), QString(200, u'o'));

    {
        // The new file would be larger than the disk lets the process write.
        test::FileSizeLimit limit(64);
        EXPECT_FALSE(file.WriteString("S", "K", QString(400, u'n')));
    }
    EXPECT_EQ(Contents(path), original);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"kept.ini"}));

    // The same for a value that cannot be written at all.
    EXPECT_FALSE(file.WriteString("S", "K", "two\nlines"));
    EXPECT_EQ(Contents(path), original);
}

TEST_F(IniFileTest, DoesNotReplaceAFileItCannotRead) {
    // A folder stands where the file is: there is something, and it is not readable as a file.
    const QString path = PathOf("folder.ini");
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_FALSE(IniFile(path).WriteString("S", "K", "v"));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(IniFileTest, AnUnchangedValueDoesNotRewriteTheFile) {
    const QString path = PathOf("same.ini");
    Put(path, "[S]\nK=v\n");
    const auto inode = FileStamp::Of(path).inode;
    ASSERT_TRUE(IniFile(path).WriteString("s", "k", "v"));
    EXPECT_EQ(FileStamp::Of(path).inode, inode);
}

TEST_F(IniFileTest, KeepsTheFilesPermissions) {
    const QString path = PathOf("mode.ini");
    Put(path, "[S]\nK=v\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QFileDevice::Permissions before = QFile::permissions(path);
    ASSERT_TRUE(IniFile(path).WriteString("S", "K", "w"));
    EXPECT_EQ(QFile::permissions(path), before);
}

}  // namespace
}  // namespace vantor
