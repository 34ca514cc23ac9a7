#include "image/ImageBlocks.h"

namespace {

class HostHeap final : public IBlockSource {
public:
    HLOCAL Alloc(size_t n) noexcept override { return HostAlloc(n); }
    void Free(HLOCAL block) noexcept override { HostFree(block); }
};

}  // namespace

IBlockSource& HostBlocks() noexcept
{
    static HostHeap heap;
    return heap;
}
