#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "io/temporary_file.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

void (*HandlerOf(int signal))(int) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

TEST(AtomicWriteTest, ASymbolicLinkIsWrittenThroughAndStaysALink) {
  TempFolder folder;
  fs::create_directories(folder / "books");
  std::ofstream(folder / "books" / "real.xlsx") << "old";
  fs::create_symlink("books/real.xlsx", folder / "link.xlsx");
  WriteFileAtomically(folder / "link.xlsx", "new");
  EXPECT_TRUE(fs::is_symlink(folder / "link.xlsx"));
  EXPECT_EQ(fs::read_symlink(folder / "link.xlsx"), "books/real.xlsx");
  EXPECT_EQ(ReadFileBytes(folder / "books" / "real.xlsx"), "new");
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"books", "link.xlsx"}));
  EXPECT_EQ(fs::directory_iterator(folder / "books")->path().filename(), "real.xlsx")
      << "the temporary file was made beside the target, and is gone";

  // A link to a link, and one to a file not there yet.
  fs::create_symlink("link.xlsx", folder / "again.xlsx");
  WriteFileAtomically(folder / "again.xlsx", "newer");
  EXPECT_EQ(ReadFileBytes(folder / "books" / "real.xlsx"), "newer");
  fs::create_symlink(folder / "books" / "later.xlsx", folder / "ahead.xlsx");
  WriteFileAtomically(folder / "ahead.xlsx", "made");
  EXPECT_EQ(ReadFileBytes(folder / "books" / "later.xlsx"), "made");
  EXPECT_TRUE(fs::is_symlink(folder / "ahead.xlsx"));

  fs::create_symlink("loop2.xlsx", folder / "loop1.xlsx");
  fs::create_symlink("loop1.xlsx", folder / "loop2.xlsx");
  EXPECT_EQ(FileErrorOf([&] { WriteFileAtomically(folder / "loop1.xlsx", "x"); }),
            "Cannot save \"" + (folder / "loop1.xlsx").string() +
                "\": Too many levels of symbolic links.");
}

// As the system does, forty links are followed in a row, and not one more.
TEST(AtomicWriteTest, FortyLinksInARowAreFollowed) {
  TempFolder folder;
  for (int i = 1; i <= 41; ++i) {
    fs::create_symlink("link" + std::to_string(i - 1) + ".xlsx",
                       folder / ("link" + std::to_string(i) + ".xlsx"));
  }
  WriteFileAtomically(folder / "link40.xlsx", "far");
  EXPECT_EQ(ReadFileBytes(folder / "link0.xlsx"), "far");
  EXPECT_EQ(FileErrorOf([&] { WriteFileAtomically(folder / "link41.xlsx", "x"); }),
            "Cannot save \"" + (folder / "link41.xlsx").string() +
                "\": Too many levels of symbolic links.");
  fs::create_directories(folder / "book.xlsx");
  EXPECT_EQ(FileErrorOf([&] { ReadFileBytes(folder / "book.xlsx"); }),
            "Cannot open \"" + (folder / "book.xlsx").string() + "\": it is not a file.");
}

TEST(AtomicWriteTest, ANewFileTakesTheUmaskAndAReplacedOneKeepsItsPermissions) {
  TempFolder folder;
  auto modeOf = [&](const char* name) {
    struct stat status {};
    ::stat((folder / name).c_str(), &status);
    return status.st_mode & 07777;
  };
  mode_t mask = ::umask(022);
  WriteFileAtomically(folder / "new.xlsx", "bytes");
  EXPECT_EQ(modeOf("new.xlsx"), 0644u);
  ::chmod((folder / "new.xlsx").c_str(), 0600);
  WriteFileAtomically(folder / "new.xlsx", "more bytes");
  EXPECT_EQ(modeOf("new.xlsx"), 0600u) << "a private file stays private";
  ::umask(mask);
}

// A write the system refuses part way (here past the process's file size limit, as a full disk
// would) fails, and the file is left as it was.
TEST(AtomicWriteTest, AWriteTheSystemRefusesFailsAndLeavesTheFile) {
  TempFolder folder;
  std::ofstream(folder / "out.xlsx") << "old";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    alarm(10);  // a write that never gives up
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error =
        FileErrorOf([&] { WriteFileAtomically(folder / "out.xlsx", std::string(1 << 16, 'x')); });
    bool refused =
        error == "Cannot save \"" + (folder / "out.xlsx").string() + "\": File too large.";
    _exit(refused ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFileBytes(folder / "out.xlsx"), "old");
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"out.xlsx"});
}

// Run with its standard input closed (as a service may be), the temporary file may be
// descriptor 0, and is written all the same.
TEST(AtomicWriteTest, ATemporaryFileOnDescriptorZeroIsWritten) {
  TempFolder folder;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(0);
    bool written = FileErrorOf([&] { WriteFileAtomically(folder / "out.txt", "new"); }).empty();
    _exit(written ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFileBytes(folder / "out.txt"), "new");
}

TEST(AtomicWriteTest, TheGuardHoldsTheTemporaryFileOnlyWhileTheWriteIsUnderWay) {
  TempFolder folder;
  std::string path = (folder / ".out.xlsx.XXXXXX").string();
  void (*before)(int) = HandlerOf(SIGTERM);
  {
    TemporaryFileGuard guard;
    int fd = guard.Create(path);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_NE(path, (folder / ".out.xlsx.XXXXXX").string()) << "the template is filled in";
    EXPECT_EQ(TemporaryFileGuard::Registered(), path);
    EXPECT_NE(HandlerOf(SIGTERM), before);
    EXPECT_NE(HandlerOf(SIGINT), SIG_DFL);
    EXPECT_NE(HandlerOf(SIGXFSZ), SIG_DFL);
  }
  EXPECT_EQ(TemporaryFileGuard::Registered(), "");
  EXPECT_EQ(HandlerOf(SIGTERM), before) << "the handler found is back";
  fs::remove(path);

  // A signal the process ignores stays ignored.
  signal(SIGXFSZ, SIG_IGN);
  WriteFileAtomically(folder / "out.xlsx", "bytes");
  {
    TemporaryFileGuard guard;
    std::string again = (folder / ".x.XXXXXX").string();
    close(guard.Create(again));
    EXPECT_EQ(HandlerOf(SIGXFSZ), SIG_IGN);
    fs::remove(again);
  }
  signal(SIGXFSZ, SIG_DFL);
}

// A child process writes a large file over and over; the signal arrives while it writes. The
// child takes the signal's default action even when this run inherited it ignored (nohup, a
// background job), which the guard would keep.
TEST(AtomicWriteTest, AProcessStoppedWhileWritingLeavesNoTemporaryFile) {
  for (int signal : {SIGTERM, SIGINT}) {
    TempFolder folder;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::signal(signal, SIG_DFL);
      alarm(60);
      std::string bytes(64 << 20, 'x');
      for (;;) WriteFileAtomically(folder / "out.xlsx", bytes);
    }
    bool writing = false;
    for (int i = 0; i < 2000 && !writing; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      for (const std::string& name : folder.Files()) writing = writing || name != "out.xlsx";
    }
    EXPECT_TRUE(writing) << "the child began a write";
    kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    std::vector<std::string> files = folder.Files();
    EXPECT_TRUE(files.empty() || files == std::vector<std::string>{"out.xlsx"}) << files.front();
  }
}

}  // namespace
}  // namespace tavrin
