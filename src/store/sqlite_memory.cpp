#include "store/sqlite_memory.h"

#include <sqlite3.h>

#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace q {

namespace {

// Every block starts with its header: the size asked for and, for a block of a
// chunk, its size class (kHeap for one from the heap). 16 bytes keep the block
// behind it aligned as malloc() aligns.
struct Header {
    std::int64_t size;
    std::int64_t sizeClass;
};
static_assert(sizeof(Header) == 16);

constexpr std::int64_t kHeap = -1;
// Blocks of page size: 4 KB pages (the tables') up to 8 KB, with the cache's own
// bytes beside each page; classes 256 bytes apart.
constexpr int kSmallest = 4096;
constexpr int kLargest = 8192 + 1024;
constexpr int kClassStep = 256;
constexpr int kClasses = (kLargest - kSmallest) / kClassStep + 1;
constexpr std::size_t kChunkBytes = std::size_t(2) << 20;

struct FreeBlock {
    FreeBlock* next;
};

struct SizeClass {
    FreeBlock* free = nullptr;
    char* next = nullptr;  // the rest of the newest chunk
    char* end = nullptr;
    int chunks = 0;
};

struct Chunks {
    std::mutex mutex;
    std::array<SizeClass, kClasses> classes;
};

Chunks& chunks() {
    static Chunks* c = new Chunks;  // lives as long as SQLite may free into it
    return *c;
}

int classOf(int n) { return n < kSmallest || n > kLargest ? -1 : (n - kSmallest + kClassStep - 1) / kClassStep; }
std::size_t blockBytes(int sizeClass) { return sizeof(Header) + std::size_t(kSmallest + sizeClass * kClassStep); }

Header* headerOf(void* p) { return static_cast<Header*>(p) - 1; }

void* fromHeap(int n) {
    auto* h = static_cast<Header*>(std::malloc(sizeof(Header) + std::size_t(n)));
    if (!h) return nullptr;
    *h = {n, kHeap};
    return h + 1;
}

// A chunk on a boundary of its size, so that the system can back it with one large
// page: one fault for the whole chunk instead of one for every 4 KB. Not the first
// chunk of a size: a start-up needs a few hundred blocks at most, and a large page
// can make the system tidy its memory first, which is worth it only for a run
// that needs thousands.
char* newChunk(bool large) {
    void* raw = mmap(nullptr, 2 * kChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kChunkBytes - 1) & ~(std::uintptr_t(kChunkBytes) - 1);
    // What lies before and behind the aligned chunk goes back.
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + 2 * kChunkBytes;
    if (end > aligned + kChunkBytes) munmap(reinterpret_cast<void*>(aligned + kChunkBytes), end - (aligned + kChunkBytes));
    auto* chunk = reinterpret_cast<char*>(aligned);
    if (large) (void)madvise(chunk, kChunkBytes, MADV_HUGEPAGE);
    return chunk;
}

void* fromChunk(int n, int sizeClass) {
    Chunks& all = chunks();
    const std::size_t bytes = blockBytes(sizeClass);
    std::lock_guard<std::mutex> lock(all.mutex);
    SizeClass& c = all.classes[std::size_t(sizeClass)];
    Header* h = nullptr;
    if (c.free) {
        h = reinterpret_cast<Header*>(c.free);
        c.free = c.free->next;
    } else {
        if (c.next == nullptr || std::size_t(c.end - c.next) < bytes) {
            char* chunk = newChunk(c.chunks > 0);
            if (!chunk) return nullptr;
            c.next = chunk;
            c.end = chunk + kChunkBytes;
            ++c.chunks;
        }
        h = reinterpret_cast<Header*>(c.next);
        c.next += bytes;
    }
    *h = {n, sizeClass};
    return h + 1;
}

void* memMalloc(int n) {
    if (n <= 0) return nullptr;
    const int sizeClass = classOf(n);
    if (sizeClass < 0) return fromHeap(n);
    void* p = fromChunk(n, sizeClass);
    return p ? p : fromHeap(n);
}

void memFree(void* p) {
    if (!p) return;
    Header* h = headerOf(p);
    if (h->sizeClass == kHeap) {
        std::free(h);
        return;
    }
    Chunks& all = chunks();
    std::lock_guard<std::mutex> lock(all.mutex);
    SizeClass& c = all.classes[std::size_t(h->sizeClass)];
    auto* f = reinterpret_cast<FreeBlock*>(h);
    f->next = c.free;
    c.free = f;
}

int memSize(void* p) { return p ? int(headerOf(p)->size) : 0; }

void* memRealloc(void* p, int n) {
    if (!p) return memMalloc(n);
    Header* h = headerOf(p);
    if (h->sizeClass == kHeap && classOf(n) < 0) {
        auto* moved = static_cast<Header*>(std::realloc(h, sizeof(Header) + std::size_t(n)));
        if (!moved) return nullptr;
        moved->size = n;
        return moved + 1;
    }
    // A block of a chunk keeps its place while the new size fits its class.
    if (h->sizeClass != kHeap && blockBytes(int(h->sizeClass)) - sizeof(Header) >= std::size_t(n)) {
        h->size = n;
        return p;
    }
    void* q = memMalloc(n);
    if (!q) return nullptr;
    std::memcpy(q, p, std::size_t(std::min<std::int64_t>(h->size, n)));
    memFree(p);
    return q;
}

int memRoundup(int n) { return (n + 7) & ~7; }
int memInit(void*) { return SQLITE_OK; }
void memShutdown(void*) {}

bool g_installed = false;

void install() {
    static const sqlite3_mem_methods methods{memMalloc, memFree, memRealloc, memSize, memRoundup, memInit, memShutdown, nullptr};
    // SQLITE_MISUSE when SQLite runs already: it keeps the memory it has.
    g_installed = sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
}

}  // namespace

int openSqlite(const char* path, sqlite3** db, int flags) {
    static std::once_flag once;
    std::call_once(once, install);
    return sqlite3_open_v2(path, db, flags, nullptr);
}

bool sqliteUsesPageMemory() { return g_installed; }

}  // namespace q
