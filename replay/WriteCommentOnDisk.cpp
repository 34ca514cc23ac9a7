// The write-back's Windows part: WriteComment on the real file system.
#include "replay/CReplayReader.h"
#include "replay/WindowsFileSystem.h"

int CReplayReader::WriteComment(const char* path, const char* text, int count, CommentFault* fault) const
{
    WindowsFileSystem files;
    return WriteComment(path, text, count, files, fault);
}
