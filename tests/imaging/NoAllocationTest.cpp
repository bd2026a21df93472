// Storing and drawing a ping allocates nothing: every buffer is allocated when the images are
// sized. Counted by replacing the global allocation functions of the test program.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "imaging/ImagingFixture.h"

namespace {
std::atomic<long> allocationCount{0};
}  // namespace

// The replacement pair works on malloc and free; GCC cannot see that new and delete are
// replaced together and warns about free() on memory from operator new.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
// The no-throw form too (std::stable_sort takes its buffer through it), so that every block
// freed here came from malloc.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

class NoAllocationTest : public ImagingFixture {};

TEST_F(NoAllocationTest, CounterSeesAllocations) {
    const long before = allocationCount.load();
    auto* probe = new std::vector<int>(100);
    delete probe;
    EXPECT_GE(allocationCount.load() - before, 2);
}

TEST_F(NoAllocationTest, AcceptedCyclesAllocateNothing) {
    doc.images.compositeMode = 1;
    doc.images.AllocateComposite(1000, 2000);
    for (int c = 0; c < 3; ++c) doc.images.AllocateChannelImage(c, 1000, 2000);
    doc.gps.readerExists = 1;
    doc.gps.latitudeText = "48.07.038 N";
    for (int i = 0; i < 5; ++i) {
        FillLines();
        doc.CycleComplete();
    }
    const long before = allocationCount.load();
    for (int i = 0; i < 50; ++i) {
        platform.tick += 250;
        doc.CycleComplete();
    }
    EXPECT_EQ(allocationCount.load() - before, 0);
    EXPECT_EQ(doc.history.writeIndex, 55);
    EXPECT_GT(doc.images.rowsFilled, 150);
}

TEST_F(NoAllocationTest, RedrawAllocatesNothing) {
    doc.images.compositeMode = 1;
    doc.images.AllocateComposite(500, 400);
    doc.images.AllocateChannelImage(kHeadL, 500, 400);
    for (int i = 0; i < 100; ++i) {
        FillLines();
        doc.StoreCycle();
    }
    const long before = allocationCount.load();
    doc.SetSideMode(1);
    EXPECT_EQ(allocationCount.load() - before, 0);
}

}  // namespace
