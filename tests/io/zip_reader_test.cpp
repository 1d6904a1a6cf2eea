#include "io/file_error.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

// An archive of one deflated entry whose directory records (local and central alike) are then
// changed at a field: the CRC-32 (at 14 in the local header, 16 in the central one) or the size.
std::string Archive(const std::string& bytes, size_t localAt, uint32_t value) {
  ZipWriter zip;
  zip.Add("a.xml", bytes);
  std::string archive = zip.Finish();
  size_t central = archive.find("PK\x01\x02");
  for (size_t at : {localAt, central + localAt + 2}) {
    for (int i = 0; i < 4; ++i) archive[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return archive;
}

std::string ReadError(const std::string& archive) {
  try {
    ReadZip(archive);
  } catch (const FormatError& error) {
    return error.what();
  }
  return "";
}

TEST(ZipReaderTest, AnEntryThatDoesNotMatchItsDirectoryFails) {
  std::string bytes(300000, 'x');
  for (size_t i = 0; i < bytes.size(); i += 7) bytes[i] = static_cast<char>('a' + i % 26);
  EXPECT_EQ(ReadZip(Archive(bytes, 22, static_cast<uint32_t>(bytes.size())))[0].bytes, bytes);
  EXPECT_EQ(ReadError(Archive(bytes, 14, 12345)),
            "the archive is damaged at a.xml (its checksum or size is wrong)");
  EXPECT_EQ(ReadError(Archive(bytes, 22, static_cast<uint32_t>(bytes.size() + 1))),
            "the archive is damaged at a.xml (its checksum or size is wrong)");
  EXPECT_EQ(ReadError(Archive(bytes, 22, static_cast<uint32_t>(bytes.size() - 1))),
            "the archive is damaged at a.xml (longer than it says)");
}

TEST(ZipReaderTest, APackageIsReadUpToAGigabyteAndWithoutItsFolders) {
  const std::string refused = "it expands to more than 1 GB, more than any workbook holds";
  EXPECT_EQ(ReadError(Archive("abc", 22, 0xF0000000u)), refused);
  EXPECT_EQ(ReadError(Archive("abc", 22, (uint32_t{1} << 30) + 1)), refused);
  EXPECT_EQ(ReadError(Archive("abc", 22, uint32_t{1} << 30)),
            "the archive is damaged at a.xml (its checksum or size is wrong)");
  // A part that hardly deflates is read across many reads of its deflated bytes.
  std::string noise(700000, ' ');
  uint32_t state = 1;
  for (char& c : noise) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  ZipWriter zip;
  zip.Add("xl/", "");
  zip.Add("xl/noise.bin", noise);
  std::vector<PackagePart> parts = ReadZip(zip.Finish());
  ASSERT_EQ(parts.size(), 1u) << "a folder is no part";
  EXPECT_EQ(parts[0].name, "xl/noise.bin");
  EXPECT_TRUE(parts[0].bytes == noise);
}

// Some writers store small parts, or all of them, as they are: such entries read whole,
// across many reads.
TEST(ZipReaderTest, EntriesStoredWithoutCompressionRead) {
  TempFolder folder;
  std::string path = (folder / "stored.zip").string();
  EXPECT_EQ(tavrin::Run("/usr/bin/python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1], "
                        "'w'); z.writestr('a.xml', 'abcdefg' * 100000); z.writestr('empty.xml', "
                        "''); z.close()\" '" +
                        path + "'"),
            "");
  std::vector<PackagePart> parts = ReadZip(ReadFileBytes(path));
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].bytes.size(), 700000u);
  EXPECT_EQ(parts[0].bytes.substr(699993), "abcdefg");
  EXPECT_EQ(parts[1].bytes, "");
}

}  // namespace
}  // namespace tavrin
