#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../resources/Resource_Test_Util.h"
#include "runner/DataNew_Main.h"

namespace zorvex {
namespace {

namespace fs = std::filesystem;

// Runs a test inside its own working directory.
class InDirectory {
 public:
  explicit InDirectory(const std::string& dir) : old_(fs::current_path()) { fs::current_path(dir); }
  ~InDirectory() { fs::current_path(old_); }

 private:
  fs::path old_;
};

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

CDataFile File(std::string name, int32_t mode, std::string bytes = "data") {
  CDataFile f;
  f.file_name = std::move(name);
  f.source_path = "C:\\made\\here";
  f.stored = true;
  f.data_present = true;
  f.included_size = static_cast<int32_t>(bytes.size());
  f.data.assign(bytes.begin(), bytes.end());
  f.export_mode = mode;
  return f;
}

struct Messages {
  std::vector<std::string> list;
  IncludedFileErrorSink Sink() {
    return [this](std::string_view m) { list.emplace_back(m); };
  }
};

TEST(IncludedFilesRecord, RoundTripAndVersions) {
  CIncludedFiles files;
  files.files.push_back(File("a.txt", 1));
  CDataFile b = File("music\\b.ogg", 3);
  b.export_folder = "C:\\games\\x";
  b.overwrite = true;
  b.free_after_export = false;
  b.remove_at_end = false;
  files.files.push_back(b);
  CDataFile none = File("gone.dat", 0);
  none.stored = false;  // its bytes are not in the record
  files.files.push_back(none);
  CStream s;
  files.WriteSection(s);
  s.Seek(0);
  CIncludedFiles back;
  ASSERT_TRUE(back.ReadSection(s));
  EXPECT_TRUE(s.AtEnd());
  ASSERT_EQ(back.files.size(), 3u);
  EXPECT_EQ(back.files[0], files.files[0]);
  EXPECT_EQ(back.files[1], b);
  EXPECT_TRUE(back.files[2].data.empty());
  EXPECT_EQ(back.Find("music\\b.ogg"), 1);
  EXPECT_EQ(back.Find("A.TXT"), -1);
  EXPECT_EQ(back.IncludedFile(3), nullptr);

  CStream version(s.Bytes());
  version.WriteInt(621);
  version.Seek(0);
  EXPECT_FALSE(back.ReadSection(version));
  CStream record(s.Bytes());
  record.Seek(8);
  record.WriteInt(600);
  record.Seek(0);
  EXPECT_FALSE(back.ReadSection(record));
  EXPECT_TRUE(back.files.empty());
}

TEST(IncludedFilesExport, ModesOverwriteAndFreeing) {
  testing::TempDir work, temp;
  InDirectory cd(work.Path());
  std::ofstream(work.File("exists.txt")) << "old";
  CIncludedFiles inc;
  inc.temp_directory = temp.Path();
  inc.files = {File("in_temp.txt", 1, "T"), File("exists.txt", 2, "new"), File("here.txt", 2),
               File("nowhere.txt", 0), File("odd.txt", 7)};
  Messages m;
  EXPECT_TRUE(inc.ExportAtStart(m.Sink()));
  EXPECT_TRUE(m.list.empty());
  EXPECT_EQ(Contents(temp.File("in_temp.txt")), "T");
  EXPECT_EQ(Contents(work.File("exists.txt")), "old");  // not overwritten...
  EXPECT_FALSE(inc.files[1].stored);                    // ...and its bytes are dropped all the same
  EXPECT_EQ(Contents(work.File("here.txt")), "data");
  EXPECT_FALSE(fs::exists(work.File("nowhere.txt")));
  EXPECT_TRUE(inc.files[3].stored);  // mode 0 writes nothing and keeps the bytes
  EXPECT_TRUE(inc.files[4].stored);  // unknown mode: nothing written

  CDataFile again = File("exists.txt", 2, "newer");
  again.overwrite = true;
  again.free_after_export = false;
  EXPECT_TRUE(inc.Export(again, m.Sink()));
  EXPECT_EQ(Contents(work.File("exists.txt")), "newer");
  EXPECT_TRUE(again.stored);
  EXPECT_TRUE(again.exported);

  // Folder mode makes the folder with its parents; the name is matched without case later.
  CDataFile deep = File("deep.bin", 3, "D");
  deep.export_folder = work.Path() + "\\Sub\\Dir";
  EXPECT_TRUE(inc.Export(deep, m.Sink()));
  EXPECT_EQ(Contents(work.File("Sub/Dir/deep.bin")), "D");
  deep.remove_at_end = true;
  deep.export_folder = work.Path() + "\\sub\\dir";
  EXPECT_TRUE(inc.Remove(deep));
  EXPECT_FALSE(fs::exists(work.File("Sub/Dir/deep.bin")));

  inc.RemoveAtEnd();
  EXPECT_FALSE(fs::exists(temp.File("in_temp.txt")));
  EXPECT_FALSE(fs::exists(work.File("here.txt")));
  // Files this run did not write stay, even when marked for removal.
  EXPECT_EQ(Contents(work.File("exists.txt")), "newer");
}

TEST(IncludedFilesExport, SecureModeRefusesPathsAndFolders) {
  testing::TempDir work, temp;
  InDirectory cd(work.Path());
  fs::create_directories(work.File("sub"));
  CIncludedFiles inc;
  inc.temp_directory = temp.Path();
  inc.secure_mode = true;
  CDataFile sub = File("sub/x.txt", 2);
  CDataFile folder = File("y.txt", 3);
  folder.export_folder = work.File("f");
  Messages m;
  EXPECT_FALSE(inc.Export(sub, m.Sink()));
  EXPECT_FALSE(inc.Export(folder, m.Sink()));
  EXPECT_EQ(m.list,
            (std::vector<std::string>{
                "In secure mode you cannot export a data file to sub/x.txt",
                "In secure mode you cannot export a data file to an indicated directory."}));
  EXPECT_FALSE(fs::exists(work.File("sub/x.txt")));
  EXPECT_FALSE(fs::exists(work.File("f")));

  // Neither is anything removed through a path.
  std::ofstream(work.File("sub/x.txt")) << "keep";
  EXPECT_FALSE(inc.Remove(sub));
  EXPECT_TRUE(fs::exists(work.File("sub/x.txt")));
  EXPECT_FALSE(inc.Remove(folder));
  CDataFile plain = File("plain.txt", 2);
  EXPECT_TRUE(inc.Export(plain, m.Sink()));
  EXPECT_TRUE(inc.Remove(plain));
}

TEST(IncludedFilesScript, ExportLocationAndDiscardMessages) {
  testing::TempDir work;
  InDirectory cd(work.Path());
  CIncludedFiles inc;
  CDataFile zero = File("zero.txt", 0, "Z");
  zero.free_after_export = false;
  inc.files = {zero, File("keep.txt", 2, "K")};
  Messages m;
  inc.ExportToLocation("zero.txt", work.Path() + "\\Copy.TXT", m.Sink());
  EXPECT_EQ(Contents(work.File("Copy.TXT")), "Z");  // written although its mode is 0
  inc.ExportByName("missing", m.Sink());
  inc.ExportToLocation("missing", "x", m.Sink());
  inc.DiscardByName("missing", m.Sink());
  EXPECT_EQ(m.list, (std::vector<std::string>{"Trying to export non-existing file.",
                                              "Trying to export non-existing file.",
                                              "Trying to discard non-existing file."}));
  m.list.clear();
  inc.DiscardByName("keep.txt", m.Sink());
  inc.ExportByName("keep.txt", m.Sink());  // no bytes any more: nothing, and no message
  EXPECT_TRUE(m.list.empty());
  EXPECT_FALSE(fs::exists(work.File("keep.txt")));

  inc.secure_mode = true;
  inc.ExportToLocation("zero.txt", "other.txt", m.Sink());
  EXPECT_EQ(m.list,
            (std::vector<std::string>{"In secure mode you cannot export a file to a location."}));
  EXPECT_FALSE(fs::exists(work.File("other.txt")));
}

}  // namespace
}  // namespace zorvex
