#pragma once
// A document on the fake platform with helpers to feed it ping cycles.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "document/CVantrelDoc.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

class ImagingFixture : public ::testing::Test {
protected:
    ImagingFixture() : doc(platform) {}

    // Random echo samples in every head's line.
    void FillLines() {
        for (auto& head : doc.heads) {
            for (auto& sample : head.line) sample = static_cast<std::uint8_t>(rng() % 256);
        }
    }
    // The same value in every sample of the side-scan heads.
    void FillLines(std::uint8_t value) {
        for (int h = 0; h < 3; ++h) doc.heads[h].line.fill(value);
    }
    // One stored cycle at a fixed speed: manual knots, speed correction on.
    void StoreAt(double knots) {
        DocumentBuilder(doc).StoringSpeed(knots);
        doc.StoreCycle();
    }
    std::vector<std::uint8_t> RowOf(const RingImage& image, int r) const {
        const std::uint8_t* row = image.Row(r);
        return std::vector<std::uint8_t>(row, row + image.BytesPerLine());
    }
    std::vector<std::vector<std::uint8_t>> Snapshot(const RingImage& image) const {
        std::vector<std::vector<std::uint8_t>> rows;
        for (int r = 0; r < image.Rows(); ++r) rows.push_back(RowOf(image, r));
        return rows;
    }
    static bool AllEqual(const std::vector<std::uint8_t>& row, std::uint8_t value) {
        for (const std::uint8_t v : row) {
            if (v != value) return false;
        }
        return true;
    }

    FakePlatform platform;
    CVantrelDoc doc;
    std::mt19937 rng{12345};
};
