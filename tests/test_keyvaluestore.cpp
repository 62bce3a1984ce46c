// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/keyvaluestore.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

using test::readAll;

const QString kProduct = kProductKeyPath.toString();

class KeyValueStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeAll(m_shipped,
                       "[Software\\Velmora\\Orvanta]\r\nVersion=4.0\r\nappid=orvanta\r\n"
                       "[Software\\Velmora\\Lupenix]\r\nInstalPath=/opt/lupenix/lupenix\r\n");
    }

    QTemporaryDir m_dir;
    QString m_shipped = m_dir.filePath("program/registry.ini");
    QString m_user = m_dir.filePath("config/Orvanta/registry.ini");
    IniKeyValueStore m_store{m_user, m_shipped};
};

TEST_F(KeyValueStoreTest, ShippedValuesReadAnySpellingAndUserValuesWinUntilRemoved) {
    EXPECT_EQ(m_store.value("\\SOFTWARE\\velmora\\orvanta\\", "APPID"), "orvanta");
    EXPECT_EQ(m_store.value("Software\\Velmora\\Lupenix", "InstalPath"), "/opt/lupenix/lupenix");
    EXPECT_EQ(m_store.value("Software\\Elsewhere", "Version"), std::nullopt);

    const QByteArray shipped = readAll(m_shipped);
    ASSERT_TRUE(m_store.setValue("\\" + kProduct, "Version", "5.1"));
    ASSERT_TRUE(m_store.setValue(kProduct, "InstalPath", "/home/ann/程序/orvanta"));
    EXPECT_EQ(m_store.value(kProduct, "version"), "5.1");
    EXPECT_EQ(m_store.value(kProduct, "appid"), "orvanta"); // still shipped
    EXPECT_EQ(readAll(m_shipped), shipped);
    EXPECT_EQ(readAll(m_user), QString("[Software\\Velmora\\Orvanta]\r\nVersion=5.1\r\n"
                                       "InstalPath=/home/ann/程序/orvanta\r\n\r\n")
                                   .toUtf8());

    EXPECT_TRUE(m_store.remove(kProduct, "VERSION"));
    EXPECT_EQ(m_store.value(kProduct, "Version"), "4.0");
    EXPECT_EQ(m_store.value(kProduct, "InstalPath"), "/home/ann/程序/orvanta");
    // Shipped values cannot be removed; values that are nowhere are already gone.
    EXPECT_TRUE(m_store.remove(kProduct, "Version"));
    EXPECT_EQ(m_store.value(kProduct, "Version"), "4.0");
    EXPECT_TRUE(m_store.remove("Software\\Nothing", "x"));
}

TEST_F(KeyValueStoreTest, RefusesWhatWouldNotReadBackTheSame) {
    // path, name, value
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        {"\\", "a", "1"},      {"Soft]ware", "a", "1"}, {"Soft\nware", "a", "1"},
        {kProduct, "", "1"},   {kProduct, "a=b", "1"},  {kProduct, ";a", "1"},
        {kProduct, "[a", "]"}, {kProduct, " a", "1"},   {kProduct, "a", "1\r\n[Other]"},
        {kProduct, "a", "1 "},
    };
    for (const auto& [path, name, value] : cases)
        EXPECT_FALSE(m_store.setValue(path, name, value)) << (path + name + value).toStdString();
    EXPECT_FALSE(QFile::exists(m_user));
    EXPECT_TRUE(m_store.setValue(kProduct, "aid", "")); // empty is a value
    EXPECT_EQ(m_store.value(kProduct, "aid"), "");
}

TEST_F(KeyValueStoreTest, UnreadableUserFileIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(m_user)); // a folder where the file should be
    EXPECT_EQ(m_store.value(kProduct, "Version"), "4.0");
    EXPECT_FALSE(m_store.setValue(kProduct, "Version", "5.1"));
    EXPECT_FALSE(m_store.remove(kProduct, "Version"));
    EXPECT_TRUE(QFileInfo(m_user).isDir());
}

TEST(KeyValueStoreFiles, TheShippedFileNamesTheProduct) {
    const IniKeyValueStore store(
        QStringLiteral(ORVANTA_SOURCE_DIR "/no-user-file.ini"),
        IniKeyValueStore::shippedFileIn(ORVANTA_SOURCE_DIR "/assets/program"));
    EXPECT_EQ(store.value(kProduct, "Version"), "4.0");
    EXPECT_EQ(store.value(kProduct, "appid"), "orvanta");
    EXPECT_EQ(store.value(kProduct, "aid"), std::nullopt);
}

} // namespace
