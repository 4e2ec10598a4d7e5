// The settings file's path rule and how its three keys are read.
#include "settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell_test_support.h"

namespace {

TEST(SettingsPath, ReplacesOnlyTheFileNamesExtension) {
    struct Case {
        const char* name;
        const char* modulePath;
        const char* expected;
    };
    const Case cases[] = {
        {"ordinary program", "D:\\tools\\decoder.exe", "D:\\tools\\decoder.ini"},
        {"last dot of the name", "C:\\a\\vexa.old.exe", "C:\\a\\vexa.old.ini"},
        {"dot only in a folder", "C:\\my.tools\\vexa", "C:\\my.tools\\vexa.ini"},
        {"dots in folder and name", "C:\\my.tools\\vexa.exe", "C:\\my.tools\\vexa.ini"},
        {"forward slashes", "/opt/my.tools/vexa", "/opt/my.tools/vexa.ini"},
        {"no dot at all", "C:\\tools\\vexa", "C:\\tools\\vexa.ini"},
        {"bare name", "vexa", "vexa.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(settingsPathFor(c.modulePath), c.expected);
    }
}

struct Read {
    int viewer;
    std::string prefix;
    std::string fileName;
};

Read readAll(const std::string& path) {
    Read got;
    got.viewer = readClipboardViewerSetting(path);
    char prefix[PrefixSettingSize + 8];
    std::memset(prefix, '#', sizeof prefix);
    readPrefixSetting(path, prefix);
    EXPECT_EQ(prefix[PrefixSettingSize], '#') << "wrote past the prefix buffer";
    char fileName[OpenFileNameSettingSize + 8];
    std::memset(fileName, '#', sizeof fileName);
    readOpenFileNameSetting(path, fileName);
    EXPECT_EQ(fileName[OpenFileNameSettingSize], '#') << "wrote past the file-name buffer";
    got.prefix = prefix;
    got.fileName = fileName;
    return got;
}

TEST(SettingsFile, ReadsEachKeyOrItsDefault) {
    const std::string longPrefix(100, 'p');
    const std::string longName(300, 'n');
    struct Case {
        const char* name;
        std::string content;
        int viewer;
        std::string prefix;
        std::string fileName;
    };
    const Case cases[] = {
        {"empty file", "", 0, "", ""},
        {"other section", "[Other]\r\nClipboardViewer=1\r\nPrefix=#\r\n", 0, "", ""},
        {"all three", "[Default]\r\nClipboardViewer=1\r\nPrefix=#\r\nOpenFileName=C:\\a.log\r\n", 1,
         "#", "C:\\a.log"},
        {"viewer zero", "[Default]\r\nClipboardViewer=0\r\n", 0, "", ""},
        {"viewer empty", "[Default]\r\nClipboardViewer=\r\n", 0, "", ""},
        {"viewer not a number", "[Default]\r\nClipboardViewer=yes\r\n", 0, "", ""},
        {"viewer two", "[Default]\r\nClipboardViewer=2\r\n", 2, "", ""},
        {"blanks and quotes", "[Default]\r\nPrefix =  \"> \"  \r\n", 0, "> ", ""},
        {"long prefix is cut to 79", "[Default]\r\nPrefix=" + longPrefix + "\r\n", 0,
         longPrefix.substr(0, 79), ""},
        {"long name is cut to 259", "[Default]\r\nOpenFileName=" + longName + "\r\n", 0, "",
         longName.substr(0, 259)},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Read got = readAll(folder.write("settings.ini", c.content));
        EXPECT_EQ(got.viewer, c.viewer);
        EXPECT_EQ(got.prefix, c.prefix);
        EXPECT_EQ(got.fileName, c.fileName);
    }
}

TEST(SettingsFile, MissingFileGivesDefaults) {
    TempFolder folder;
    Read got = readAll(folder.path("absent.ini"));
    EXPECT_EQ(got.viewer, 0);
    EXPECT_EQ(got.prefix, "");
    EXPECT_EQ(got.fileName, "");
}

}  // namespace
