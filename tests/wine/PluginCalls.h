#pragma once
// Every file export of every plug-in, called as the host calls it, with the
// answer kept as plain values: the result codes and the bytes of every block
// handed over. Blocks are released here; the calls are safe on any thread.
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/PluginExports.h"
#include "tools/games/Games.h"
#include "wine/PluginHost.h"

namespace host {

// One export's answer: its result and the blocks it handed over (a block
// that was not handed over has handed == false).
struct BlockCopy {
    bool handed = false;
    bool freed = true;
    std::string bytes;   // LocalSize bytes
    bool operator==(const BlockCopy& o) const { return handed == o.handed && bytes == o.bytes; }
};

struct CallAnswer {
    int result = -1;
    BlockCopy first, second;
    bool operator==(const CallAnswer& o) const { return result == o.result && first == o.first && second == o.second; }
};

struct Answers {
    int supported = -1;
    CallAnswer list, text1, text2, image;   // the exports a plug-in lacks stay at -1
    bool operator==(const Answers& o) const
    {
        return supported == o.supported && list == o.list && text1 == o.text1 && text2 == o.text2 && image == o.image;
    }
};

class PluginCalls {
public:
    explicit PluginCalls(const games::Game& game)
        : m_replay(game.IsReplay()), m_plugin(game.plugin), m_exports(m_plugin.exports) {}

    bool Ready() const
    {
        const PluginExportTable& e = m_exports;
        return m_plugin.module && e.IsSupported && e.GetFileInfoList &&
               (m_replay ? e.GetFileInfoText1 && e.GetFileInfoText2 : e.GetFileInfoImage2 != nullptr);
    }

    // Every export once; size 0 is path mode.
    Answers CallEvery(const char* pathOrImage, DWORD size) const
    {
        Answers a;
        a.supported = m_exports.IsSupported(pathOrImage, size);
        a.list = Call(m_exports.GetFileInfoList, pathOrImage, size);
        if (m_replay) {
            a.text1 = Call(m_exports.GetFileInfoText1, pathOrImage, size);
            a.text2 = Call(m_exports.GetFileInfoText2, pathOrImage, size);
        } else {
            HLOCAL bits = nullptr, info = nullptr;
            a.image.result = m_exports.GetFileInfoImage2(pathOrImage, size, &bits, &info);
            a.image.first = Take(bits);
            a.image.second = Take(info);
        }
        return a;
    }

private:
    static CallAnswer Call(FileInfoFn fn, const char* pathOrImage, DWORD size)
    {
        CallAnswer answer;
        HLOCAL block = nullptr;
        answer.result = fn(pathOrImage, size, &block);
        answer.first = Take(block);
        return answer;
    }

    static BlockCopy Take(HLOCAL block)
    {
        BlockCopy copy;
        if (!block) return copy;
        copy.handed = true;
        copy.bytes.assign(static_cast<const char*>(block), LocalSize(block));
        copy.freed = LocalFree(block) == nullptr;
        return copy;
    }

    bool m_replay;
    Plugin m_plugin;
    const PluginExportTable& m_exports;
};

}  // namespace host
