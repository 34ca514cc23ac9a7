#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Where kvhost's output goes: UTF-8 text for the standard output and the
// error stream.
class Console {
public:
    virtual ~Console() = default;
    virtual void Out(const std::string& text) = 0;
    virtual void Err(const std::string& text) = 0;
    // A progress line on the error stream that the next one replaces, shown
    // only where someone watches it (a console); EndProgress clears it.
    virtual void Progress(const std::string& text) = 0;
    virtual void EndProgress() = 0;
    // The columns a line of the standard output has room for; 0 when it
    // goes to a file or a pipe.
    virtual size_t Width() const = 0;
};

struct KvhostContext {
    Console& console;
    std::string pluginFolder;  // where --all and bare plug-in names look (UTF-8)
    std::string version;       // what --version shows
};

// Runs one kvhost command line (UTF-8, without the program name). Returns
// the exit code: 0 done, 1 failed or nothing to do (said in one line on the
// error stream), 2 wrong command line.
int RunKvhost(const std::vector<std::string>& args, KvhostContext& context);

// A listing of more files than this (that match the plug-in's pattern) gets
// a progress line.
constexpr size_t kProgressThreshold = 300;
