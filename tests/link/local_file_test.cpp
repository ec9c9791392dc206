#include "link/local_file.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarvo {
namespace {

namespace fs = std::filesystem;

class Folder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tarvo-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string ReadAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    size_t Entries() { return size_t(std::distance(fs::directory_iterator(dir), {})); }

    fs::path dir;
};

using AtomicFileTest = Folder;

TEST_F(AtomicFileTest, StoreReplacesTheTargetAndLeavesNothingElse) {
    fs::path target = dir / "book.vcf";
    Write(target, "old contents");
    AtomicFile file(target);
    ASSERT_TRUE(file.CheckWritable());
    EXPECT_EQ(ReadAll(target), "old contents");  // the early check changes nothing
    const std::string fresh = "BEGIN:VCARD\r\nEND:VCARD\r\n\x1a";
    ASSERT_TRUE(file.Store(reinterpret_cast<const uint8_t*>(fresh.data()), fresh.size()));
    EXPECT_EQ(ReadAll(target), fresh);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, CheckWritableRefusesWhatCannotBeWritten) {
    EXPECT_FALSE(AtomicFile(dir / "missing-folder" / "book.vcf").CheckWritable());
    fs::create_directories(dir / "a-folder.vcf");
    EXPECT_FALSE(AtomicFile(dir / "a-folder.vcf").CheckWritable());
    EXPECT_TRUE(AtomicFile(dir / "new.csv").CheckWritable());
    EXPECT_EQ(Entries(), 1u);  // the probe file is gone again
}

TEST_F(AtomicFileTest, AFailedStoreKeepsTheTargetAndRemovesTheTemporaryFile) {
    fs::path target = dir / "book.vcf";
    fs::create_directories(target / "inside");  // a folder cannot be replaced by a file
    AtomicFile file(target);
    const uint8_t data[] = {1, 2, 3};
    EXPECT_FALSE(file.Store(data, sizeof data));
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, AFailedReceiveLeavesTheExistingBackupUntouched) {
    fs::path target = dir / "book.vcf";
    Write(target, "yesterday's phone book");
    AtomicFile file(target);
    test::Rig rig;
    rig.phone.Say("upload backup.vcf 300\n");
    rig.phone.Say(test::MakeBlock(1, test::Pattern(128), true)).Byte(xmodem::EOT);
    EXPECT_FALSE(ReceiveFile(rig.context, file, "backup.vcf"));
    EXPECT_EQ(ReadAll(target), "yesterday's phone book");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(Folder, InputFileRefusesMissingAndEmptyFilesAndReadsTheRest) {
    InputFile missing;
    EXPECT_EQ(missing.Open(dir / "none.vcf"), InputFile::OpenResult::CannotOpen);
    InputFile folder;
    EXPECT_EQ(folder.Open(dir), InputFile::OpenResult::CannotOpen);
    Write(dir / "empty.vcf", "");
    InputFile empty;
    EXPECT_EQ(empty.Open(dir / "empty.vcf"), InputFile::OpenResult::Empty);

    Write(dir / "book.csv", "name,number\n");
    InputFile book;
    ASSERT_EQ(book.Open(dir / "book.csv"), InputFile::OpenResult::Ok);
    EXPECT_EQ(book.Length(), 12);
    uint8_t buffer[64];
    EXPECT_EQ(book.Read(buffer, 5), 5u);
    EXPECT_EQ(book.Read(buffer, 64), 7u);
    EXPECT_EQ(book.Read(buffer, 64), 0u);
}

TEST_F(Folder, PathsWithJapaneseCharactersWork) {
    fs::path target = dir / fs::path(u8"電話帳.vcf");
    AtomicFile file(target);
    ASSERT_TRUE(file.CheckWritable());
    const uint8_t data[] = {'o', 'k'};
    ASSERT_TRUE(file.Store(data, sizeof data));
    InputFile back;
    ASSERT_EQ(back.Open(target), InputFile::OpenResult::Ok);
    EXPECT_EQ(back.Length(), 2);
}

}  // namespace
}  // namespace tarvo
