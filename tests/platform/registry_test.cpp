#include "platform/registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/temp_dir.h"

extern char** environ;

namespace quire::platform {
namespace {

using testing::TempDir;

class RegistryTest : public ::testing::Test {
 protected:
  std::unique_ptr<RegistryDb> OpenDb() {
    std::string error;
    auto opened = RegistryDb::Open(file, &error);
    EXPECT_TRUE(opened) << error;
    return opened;
  }
  TempDir dir;
  std::filesystem::path file = dir / "sub/registry.sqlite3";
};

TEST_F(RegistryTest, OpensKeysWithOrWithoutCreation) {
  auto db = OpenDb();
  TRegistry reg(*db);
  EXPECT_FALSE(reg.OpenKey("SOFTWARE\\No Name\\Book", false));
  EXPECT_FALSE(reg.WriteInteger("x", 1));  // no key open
  EXPECT_TRUE(reg.OpenKey("SOFTWARE\\No Name\\Book", true));
  reg.CloseKey();
  EXPECT_TRUE(reg.OpenKey("software\\NO NAME\\", false));  // the parents exist too
  EXPECT_TRUE(reg.OpenKey("\\Software\\No Name\\BOOK\\", false));
  reg.SetRootKey(Hive::LocalMachine);
  EXPECT_FALSE(reg.OpenKey("Software\\No Name\\Book", false));  // hives are apart
}

TEST_F(RegistryTest, ReadsWhatWasWrittenOnlyAsItsOwnKind) {
  auto db = OpenDb();
  TRegistry reg(*db);
  ASSERT_TRUE(reg.OpenKey("Software\\No Name\\\xCA\xED\xE8\xE3\xE0", true));  // "Книга"
  ASSERT_TRUE(reg.WriteInteger("Count", -7));
  ASSERT_TRUE(reg.WriteBool("Wav", true));
  ASSERT_TRUE(reg.WriteString("FontName", "Times New Roman"));
  ASSERT_TRUE(reg.WriteBinaryData("Blob", std::string("\0\1\2", 3)));

  TRegistry again(*db);
  ASSERT_TRUE(again.OpenKey("software\\no name\\\xEA\xED\xE8\xE3\xE0", false));  // "книга"
  EXPECT_EQ(again.ReadInteger("COUNT"), -7);
  EXPECT_EQ(again.ReadBool("wav"), true);
  EXPECT_EQ(again.ReadString("fontname"), "Times New Roman");
  EXPECT_EQ(again.ReadBinaryData("Blob"), std::string("\0\1\2", 3));
  EXPECT_FALSE(again.ReadString("Count"));  // another kind reads as missing
  EXPECT_FALSE(again.ReadInteger("FontName"));
  EXPECT_FALSE(again.ReadBool("Missing"));

  ASSERT_TRUE(again.WriteString("Count", "now a string"));  // a value has one kind at a time
  EXPECT_FALSE(again.ReadInteger("Count"));
  EXPECT_TRUE(again.DeleteValue("count"));
  EXPECT_FALSE(again.ValueExists("Count"));
  EXPECT_FALSE(again.DeleteValue("Count"));
}

TEST_F(RegistryTest, KeepsValuesAcrossConnections) {
  {
    auto db = OpenDb();
    TRegistry reg(*db, Hive::ClassesRoot);
    ASSERT_TRUE(reg.OpenKey("CLSID\\x", true));
    ASSERT_TRUE(reg.WriteString("", "default value"));
  }
  auto db = OpenDb();
  TRegistry reg(*db, Hive::ClassesRoot);
  ASSERT_TRUE(reg.OpenKey("clsid\\X", false));
  EXPECT_EQ(reg.ReadString(""), "default value");
}

TEST_F(RegistryTest, RefusesAFileThatIsNoDatabase) {
  dir.Write("bad.sqlite3", std::string(4096, 'x'));
  std::string error;
  EXPECT_FALSE(RegistryDb::Open(dir / "bad.sqlite3", &error));
  EXPECT_NE(error.find("bad.sqlite3"), std::string::npos);
}

// Starts the writer process with its stdout on a pipe.
struct Writer {
  pid_t pid = -1;
  FILE* out = nullptr;

  Writer(const std::filesystem::path& file, const std::string& prefix, int count) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string countText = std::to_string(count);
    const char* argv[] = {REGISTRY_WRITER, file.c_str(), prefix.c_str(), countText.c_str(),
                          nullptr};
    posix_spawn(&pid, REGISTRY_WRITER, &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out = ::fdopen(fds[0], "r");
  }
  // The last number the writer reported before `limit` lines, or its end.
  long ReadUpTo(long limit) {
    long last = -1;
    long value = 0;
    while (last + 1 < limit && std::fscanf(out, "%ld", &value) == 1) last = value;
    return last;
  }
  int Wait() {
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::fclose(out);
    return status;
  }
};

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  OpenDb();  // create the schema once, as the program's first start does
  Writer a(file, "A", 300);
  Writer b(file, "B", 300);
  EXPECT_EQ(a.ReadUpTo(300), 299);
  EXPECT_EQ(b.ReadUpTo(300), 299);
  EXPECT_EQ(a.Wait(), 0);
  EXPECT_EQ(b.Wait(), 0);

  auto db = OpenDb();
  TRegistry reg(*db);
  ASSERT_TRUE(reg.OpenKey("Software\\Test", false));
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(reg.ReadInteger("A" + std::to_string(i)), i);
    EXPECT_EQ(reg.ReadInteger("B" + std::to_string(i)), i);
  }
}

TEST_F(RegistryTest, AWriterKilledMidWriteLeavesEveryCommittedValue) {
  Writer writer(file, "V", 0);
  const long committed = writer.ReadUpTo(400);
  ASSERT_GE(committed, 399);
  ::kill(writer.pid, SIGKILL);
  writer.Wait();

  auto db = OpenDb();
  ASSERT_TRUE(db);
  TRegistry reg(*db);
  ASSERT_TRUE(reg.OpenKey("Software\\Test", false));
  for (long i = 0; i <= committed; ++i) {
    ASSERT_EQ(reg.ReadInteger("V" + std::to_string(i)), i) << "value " << i;
  }
  EXPECT_TRUE(reg.WriteInteger("after", 1));
  EXPECT_EQ(reg.ReadInteger("after"), 1);
}

}  // namespace
}  // namespace quire::platform
