#include "io_fixture.h"

namespace tavrin {
namespace {

TEST(ZipWriterTest, EntriesMadeInPiecesReadBackHereAndInAnIndependentReader) {
  std::string large;
  for (int i = 0; i < 200000; ++i) large += "<c r=\"A" + std::to_string(i) + "\"><v>1</v></c>";
  ZipWriter zip;
  zip.Begin("xl/worksheets/sheet1.xml");
  for (size_t at = 0; at < large.size(); at += 100000) zip.Write(large.substr(at, 100000));
  zip.End();
  zip.Add("empty.xml", "");
  zip.Add("xl/名字.xml", "<a/>");
  std::string whole = large.substr(0, size_t{2} << 20);  // whole blocks, nothing after them
  zip.Add("whole.xml", whole);
  std::string archive = zip.Finish();

  std::vector<PackagePart> parts = ReadZip(archive);
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[0].bytes, large);
  EXPECT_EQ(parts[1].bytes, "");
  EXPECT_EQ(parts[2].name, "xl/名字.xml");
  EXPECT_EQ(parts[3].bytes, whole);
  EXPECT_LT(archive.size(), large.size() / 5);  // deflated

  TempFolder folder;
  WriteFileAtomically(folder / "a.zip", archive);
  EXPECT_EQ(tavrin::Run("/usr/bin/python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
                        "print(z.testzip(), len(z.read('xl/worksheets/sheet1.xml')))\" '" +
                        (folder / "a.zip").string() + "'"),
            "None " + std::to_string(large.size()) + "\n");
}

}  // namespace
}  // namespace tavrin
