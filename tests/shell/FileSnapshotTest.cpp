// Reading a whole regular file under a size limit.

#include "shell/FileSnapshot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(FileSnapshot, ReadsWholeFilesUpToTheLimit) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* name;
        qsizetype size;  // -1: no file
        qsizetype limit;
        bool read;
    };
    const Case cases[] = {
        {"empty", 0, 16, true},
        {"at the limit", 16, 16, true},
        {"one byte over", 17, 16, false},
        {"large under a large limit", 300 * 1024, 16 * 1024 * 1024, true},
        {"missing", -1, 16, false},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QByteArray bytes;
        for (qsizetype i = 0; i < c.size; ++i) bytes.append(char('a' + i % 26));
        if (c.size >= 0) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(bytes), c.size);
        }
        const std::optional<QByteArray> got = FileSnapshot::ReadRegularFile(path, c.limit);
        EXPECT_EQ(got.has_value(), c.read) << c.name;
        if (got && c.read) {
            EXPECT_EQ(*got, bytes) << c.name;
        }
    }
    EXPECT_FALSE(FileSnapshot::ReadRegularFile(dir.path(), 16)) << "a folder";
}

}  // namespace
}  // namespace vantor
