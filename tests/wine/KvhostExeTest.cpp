// kvhost.exe as its users run it: a process of its own, started with a wide
// command line, its output and error streams captured, its exit code checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wine/KvhostFiles.h"
#include "wine/KvhostProcess.h"

using namespace kvhost_files;
using kvhost_process::Finished;
using kvhost_process::RunKvhostExe;

namespace {

TEST(KvhostExe, ListsASampleFolderAsExpected)
{
    ScratchFolder folder;
    folder.CopySamples("kvorarec");
    const Finished run = RunKvhostExe({"list", "kvorarec", folder.Root(), "-v"});
    EXPECT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(run.out, FileBytes(SourceDir() + "\\tests\\wine\\kvhost-listings\\kvorarec.txt"));
    EXPECT_EQ(run.err, "");
}

}  // namespace
