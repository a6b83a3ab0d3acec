#include "core/runtime/preference_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/runtime/atomic_replace.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using preference_output::kBlankLineBeforeGroups;
using preference_output::kCompactKeys;
using testing::read_file;
using testing::TempFolder;

constexpr int kBothOptions = kCompactKeys | kBlankLineBeforeGroups;

class Preferences : public ::testing::Test {
  protected:
    void TearDown() override { inject_replace_fault(ReplaceFault::kNone); }

    // Opens a file with the given bytes, applies the change, closes, and returns the file's bytes.
    template <typename Change>
    std::string rewrite(std::string_view bytes, int options, Change change) {
        const std::string path = folder.write("settings.ini", bytes);
        PreferenceStore store;
        EXPECT_TRUE(store.open(path, options));
        change(store);
        EXPECT_TRUE(store.close());
        return read_file(path);
    }

    TempFolder folder;
};

TEST_F(Preferences, ReadsLfOnlyFilesLikeCrLfFilesAndRewritesWithCrLf) {
    const std::string text = "top=1\n[Files]\nOpen=/home/ann/Cash.qlt\n\n\n[Settings]\nFont=Sans\n";
    const std::string path = folder.write("lf.ini", text);
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, kCompactKeys));
    EXPECT_EQ(store.read_text("top"), "1");
    ASSERT_TRUE(store.select_group("Files"));
    EXPECT_EQ(store.read_text("Open"), "/home/ann/Cash.qlt");
    ASSERT_TRUE(store.select_group("Settings"));
    store.write_text("Font", "Serif");
    EXPECT_TRUE(store.close());
    EXPECT_EQ(read_file(path), "top=1\r\n[Files]\r\nOpen=/home/ann/Cash.qlt\r\n[Settings]\r\nFont=Serif\r\n");
}

TEST_F(Preferences, BlanksAroundNamesAndValuesAreNotPartOfThem) {
    const std::string path =
        folder.write("blanks.ini", "[G]\r\n \t Key Name \t= \t some value \t \r\nBare\r\n=nameless\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, 0));
    ASSERT_TRUE(store.select_group("G"));
    EXPECT_EQ(store.read_text("Key Name"), "some value");
    EXPECT_EQ(store.read_text("Bare", "default"), "");
    EXPECT_EQ(store.read_text("", "default"), "nameless");
    EXPECT_EQ(store.read_text("Key", "default"), "default");
}

TEST_F(Preferences, GroupNamesEndAtTheBracketOrTheLineEnd) {
    const std::string path = folder.write(
        "groups.ini", "[Files] trailing words\r\nA=1\r\n[Open ended\r\nB=2\r\n[ Spaced ]\r\nC=3\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, 0));
    ASSERT_TRUE(store.select_group("Files"));
    EXPECT_EQ(store.read_integer("A", 0), 1);
    ASSERT_TRUE(store.select_group("Open ended"));
    EXPECT_EQ(store.read_integer("B", 0), 2);
    EXPECT_FALSE(store.select_group("Spaced"));
    ASSERT_TRUE(store.select_group(" Spaced "));
    EXPECT_EQ(store.read_integer("C", 0), 3);
}

TEST_F(Preferences, LookupsIgnoreAsciiCaseAndWritesKeepTheWritersSpelling) {
    const std::string written =
        rewrite("[Settings]\r\nlistfont=Sans\r\n", kCompactKeys, [](PreferenceStore& store) {
            ASSERT_TRUE(store.select_group("SETTINGS"));
            EXPECT_EQ(store.read_text("LISTFONT"), "Sans");
            EXPECT_EQ(store.read_text("ListFont"), "Sans");
            store.write_text("ListFont", "Serif");
        });
    EXPECT_EQ(written, "[Settings]\r\nListFont=Serif\r\n");
}

TEST_F(Preferences, ReadsIntegersUpToTheFirstNonDigit) {
    const std::string path = folder.write("numbers.ini", "a=42abc\r\nb=abc\r\nc= -17 \r\nd=+8\r\ne=\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, 0));
    EXPECT_EQ(store.read_integer("a", 7), 42);
    EXPECT_EQ(store.read_integer("b", 7), 0);
    EXPECT_EQ(store.read_integer("c", 7), -17);
    EXPECT_EQ(store.read_integer("d", 7), 8);
    EXPECT_EQ(store.read_integer("e", 7), 0);
    EXPECT_EQ(store.read_integer("absent", 7), 7);
}

TEST_F(Preferences, HashLinesAreKeysAndCommentsGainTheirSpace) {
    const std::string written = rewrite("#not a comment\r\n;tight\r\n;  two spaces\r\n# with = sign\r\n",
                                        kCompactKeys, [](PreferenceStore& store) {
                                            EXPECT_EQ(store.read_text("#not a comment", "x"), "");
                                            EXPECT_EQ(store.read_text("# with", "x"), "sign");
                                            store.write_integer("n", 5);
                                        });
    EXPECT_EQ(written, "#not a comment=\r\n; tight\r\n;  two spaces\r\n# with=sign\r\nn=5\r\n");
}

TEST_F(Preferences, NewKeysGoAfterTheLastEntryOfTheirGroup) {
    const std::string written = rewrite("top=1\r\n; about top\r\n[A]\r\nx=1\r\n; end of A\r\n[B]\r\ny=2\r\n",
                                        kCompactKeys, [](PreferenceStore& store) {
                                            store.write_text("top2", "2");
                                            ASSERT_TRUE(store.select_group("a"));
                                            store.write_text("x2", "3");
                                            ASSERT_TRUE(store.select_group("B"));
                                            store.write_text("y2", "4");
                                        });
    EXPECT_EQ(written,
              "top=1\r\n; about top\r\ntop2=2\r\n[A]\r\nx=1\r\n; end of A\r\nx2=3\r\n[B]\r\ny=2\r\ny2=4\r\n");

    const std::string starts_with_group = rewrite("[A]\r\nx=1\r\n", kCompactKeys, [](PreferenceStore& store) {
        ASSERT_TRUE(store.select_group(""));
        store.write_text("first", "0");
    });
    EXPECT_EQ(starts_with_group, "first=0\r\n[A]\r\nx=1\r\n");
}

TEST_F(Preferences, APendingGroupHidesKeysUntilAWriteCreatesItAtTheEnd) {
    const std::string written = rewrite("[A]\r\nx=1\r\n", kCompactKeys, [](PreferenceStore& store) {
        ASSERT_TRUE(store.select_group("A"));
        EXPECT_FALSE(store.select_group("Type List"));
        EXPECT_EQ(store.read_text("x", "none"), "none");
        EXPECT_FALSE(store.start_key_walk());
        store.write_text("1", "Check");
        store.write_text("2", "Deposit");
        EXPECT_EQ(store.read_text("1"), "Check");
    });
    EXPECT_EQ(written, "[A]\r\nx=1\r\n[Type List]\r\n1=Check\r\n2=Deposit\r\n");
}

TEST_F(Preferences, ARemovedGroupThatIsNotWrittenAgainDisappears) {
    const std::string text =
        "a=0\r\n[Type List]\r\n1=Check\r\n; note\r\n2=Debit\r\n[Settings]\r\nx=1\r\n[type "
        "list]\r\n9=Kept\r\n";
    const std::string written = rewrite(text, kCompactKeys, [](PreferenceStore& store) {
        ASSERT_TRUE(store.select_group("Type List"));
        ASSERT_TRUE(store.start_key_walk());
        store.remove_group("TYPE LIST");
        // The current group went with it: lookups fall back to the part before the first group.
        EXPECT_EQ(store.read_text("a", "?"), "0");
        EXPECT_FALSE(store.next_key());
        store.remove_group("No such group");
    });
    EXPECT_EQ(written, "a=0\r\n[Settings]\r\nx=1\r\n[type list]\r\n9=Kept\r\n");
}

TEST_F(Preferences, KeyWalksVisitTheKeysOfOneGroupSkippingComments) {
    const std::string path = folder.write(
        "walk.ini",
        "loose=0\r\n[Payee List]\r\n1=Grocer\r\n; a comment\r\nx=Landlord\r\n[Next]\r\n1=Other\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, 0));
    auto walk = [&store] {
        std::vector<std::string> seen;
        if (!store.start_key_walk()) return seen;
        while (store.next_key()) seen.push_back(store.current_key_name() + "=" + store.current_key_value());
        return seen;
    };
    EXPECT_EQ(walk(), (std::vector<std::string>{"loose=0"}));
    ASSERT_TRUE(store.select_group("payee list"));
    EXPECT_EQ(walk(), (std::vector<std::string>{"1=Grocer", "x=Landlord"}));
    ASSERT_TRUE(store.select_group("Next"));
    EXPECT_EQ(walk(), (std::vector<std::string>{"1=Other"}));
}

TEST_F(Preferences, OutputOptionsShapeKeysAndGroupSpacing) {
    const std::string text = "k=v\r\n[A]\r\na=1\r\n[B]\r\nb=2\r\n";
    auto touch = [](PreferenceStore& store) { store.write_text("k", "w"); };
    EXPECT_EQ(rewrite(text, 0, touch), "k = w\r\n[A]\r\na = 1\r\n[B]\r\nb = 2\r\n");
    EXPECT_EQ(rewrite(text, kBothOptions, touch), "k=w\r\n[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n");
    EXPECT_EQ(rewrite("[A]\r\n[B]\r\n", kBlankLineBeforeGroups, touch), "k = w\r\n[A]\r\n\r\n[B]\r\n");
}

TEST_F(Preferences, ClosingWithoutChangesLeavesTheBytesAlone) {
    const std::string text = "\r\n\r\n  [A]  \n\n x = 1 \r\r;c\n";
    EXPECT_EQ(rewrite(text, kBothOptions,
                      [](PreferenceStore& store) {
                          ASSERT_TRUE(store.select_group("A"));
                          EXPECT_EQ(store.read_text("x"), "1");
                          store.remove_group("absent");
                      }),
              text);
}

TEST_F(Preferences, Utf8FilesKeepTheirMarkAndConvertAtTheBorder) {
    const std::string text =
        "\xEF\xBB\xBF[Payee List]\r\n1=Caf\xC3\xA9\r\n2=\xE2\x82\xAC 5\r\n4=Water \x96\x93\r\n";
    const std::string written = rewrite(text, kCompactKeys, [](PreferenceStore& store) {
        EXPECT_TRUE(store.is_utf8());
        ASSERT_TRUE(store.select_group("Payee List"));
        EXPECT_EQ(store.read_text("1"), "Caf\xE9");
        EXPECT_EQ(store.read_text("2"), "? 5");
        EXPECT_EQ(store.read_text("4"), "Water") << "stray bytes go before the blanks are trimmed";
        store.write_text("3", "Na\xEFve");
    });
    EXPECT_EQ(written,
              "\xEF\xBB\xBF\r\n[Payee List]\r\n1=Caf\xC3\xA9\r\n2=\xE2\x82\xAC 5\r\n4=Water \x96\x93\r\n"
              "3=Na\xC3\xAFve\r\n");

    const std::string latin = rewrite("1=Caf\xE9\r\n", kCompactKeys, [](PreferenceStore& store) {
        EXPECT_FALSE(store.is_utf8());
        EXPECT_EQ(store.read_text("1"), "Caf\xE9");
        store.write_text("2", "Na\xEFve");
    });
    EXPECT_EQ(latin, "1=Caf\xE9\r\n2=Na\xEFve\r\n");
}

TEST(EncodingConversion, MapsBytesToCodePointsAndBack) {
    EXPECT_EQ(latin1_to_utf8("plain"), "plain");
    EXPECT_EQ(latin1_to_utf8("\x80\xA3\xFF"), "\xC2\x80\xC2\xA3\xC3\xBF");
    std::string every_byte;
    for (int c = 1; c < 256; ++c) every_byte += static_cast<char>(c);
    EXPECT_EQ(utf8_to_latin1(latin1_to_utf8(every_byte)), every_byte);

    const struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        {"\xC4\x80", "?"},            // U+0100 needs more than a byte
        {"\xE2\x82\xAC", "?"},        // three-byte form
        {"\xF0\x9F\x98\x80x", "?x"},  // four-byte form
        {"\xC3"
         "A",
         "?A"},  // cut short: reading resumes at the A
        {"\xE2\x82"
         "B",
         "?B"},
        {"a\x80"
         "b",
         "ab"},  // a stray continuation byte is dropped
        {"\xFF"
         "c",
         "c"},
        {"\xC3", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(utf8_to_latin1(c.utf8), c.expected) << c.utf8;
}

// Where no temporary file can be made beside it (a folder that may not be written), a settings
// file that may be written is rewritten in place rather than never saved.
TEST_F(Preferences, AWritableFileInALockedFolderIsRewrittenInPlace) {
    const std::string path = folder.write("Quillet.ini", "[Files]\r\nOpen=old\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, preference_output::kCompactKeys));
    store.select_group("Files");
    store.write_text("Open", "new");
    inject_replace_fault(ReplaceFault::kCreate);
    EXPECT_TRUE(store.close());
    EXPECT_EQ(read_file(path), "[Files]\r\nOpen=new\r\n");
    EXPECT_EQ(folder.listing(), "Quillet.ini\n");
}

TEST_F(Preferences, AMissingFileIsCreatedByWritesAtClose) {
    const std::string path = folder.file("new.ini");
    PreferenceStore store;
    EXPECT_FALSE(store.open(path, kBothOptions));
    EXPECT_EQ(store.read_text("x", "default"), "default");
    EXPECT_FALSE(store.select_group("Files"));
    store.write_text("Open", "/home/ann/Cash.qlt");
    EXPECT_TRUE(store.close());
    EXPECT_EQ(read_file(path), "[Files]\r\nOpen=/home/ann/Cash.qlt\r\n");

    PreferenceStore closed;
    closed.write_text("x", "1");
    EXPECT_FALSE(closed.select_group("A"));
    EXPECT_FALSE(closed.start_key_walk());
    EXPECT_TRUE(closed.close());
}

TEST_F(Preferences, AFileThatMayNotBeWrittenKeepsItsBytes) {
    const std::string path = folder.write("locked.ini", "a=1\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, kCompactKeys));
    EXPECT_TRUE(store.opened_read_only());
    store.write_text("a", "2");
    EXPECT_FALSE(store.close());
    EXPECT_EQ(read_file(path), "a=1\r\n");
}

TEST_F(Preferences, AFailedRewriteLeavesTheOldFileWhole) {
    const std::string path = folder.write("settings.ini", "[Files]\r\nOpen=/home/ann/Cash.qlt\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(path, kCompactKeys));
    store.write_text("Open", "/elsewhere.qlt");
    inject_replace_fault(ReplaceFault::kRename);
    EXPECT_FALSE(store.close());
    EXPECT_EQ(read_file(path), "[Files]\r\nOpen=/home/ann/Cash.qlt\r\n");
    EXPECT_EQ(folder.listing(), "settings.ini\n");
}

TEST_F(Preferences, OpeningAnotherFileClosesTheFirstWithItsChanges) {
    const std::string first = folder.write("first.ini", "a=1\r\n");
    const std::string second = folder.write("second.ini", "b=2\r\n");
    PreferenceStore store;
    ASSERT_TRUE(store.open(first, kCompactKeys));
    store.write_text("a", "9");
    ASSERT_TRUE(store.open(second, 0));
    EXPECT_EQ(read_file(first), "a=9\r\n");
    EXPECT_EQ(store.read_text("a", "gone"), "gone");
    EXPECT_EQ(store.read_text("b"), "2");
    EXPECT_TRUE(store.close());
    EXPECT_FALSE(store.is_open());
}

}  // namespace
}  // namespace quillet
