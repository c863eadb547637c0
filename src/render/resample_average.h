#pragma once
// The averaging loop that every way of summing compiles with its own sums,
// in its own file: each contribution is formed in double precision and each
// sum rounded to single precision after each addition, in one order, so
// that every way gives the same pixels.

#include <cstdint>
#include <vector>

#include "render/resample_plan.h"

#ifdef TESSALINE_RESAMPLE_X86
#include <immintrin.h>
#endif

namespace resample {

// Destination columns are summed in groups of kGroup side by side, since
// every addition waits for the rounding of the one before; the compiler
// keeps as many sums in registers as the processor has room for. Each column
// of a group gets as many taps as the group's widest; the extra ones weigh 0,
// which adds exactly nothing.
constexpr uint32_t kGroup = 8;

// The taps of a group's lanes as the averaging reads them, lane l of tap
// position k at index k * group + l of each array: where the byte offset of
// the source pixel's colour-table entry is found, and the weight. Apart, so
// that each load takes only what it needs. The offset is found through the
// tap's source column in a row of each pixel's offset (IndexedRows), or, in
// the AVX-512 way, in a row of each tap's offset.
struct ColumnTaps {
    const uint16_t* offsets;
    const uint32_t* column;
    const double* weight;
    uint32_t Offset(uint32_t lane) const { return offsets[column[lane]]; }
    ColumnTaps operator+(uint32_t lanes) const { return ColumnTaps{offsets, column + lanes, weight + lanes}; }
};

// The table entry of a lane's source pixel.
template <class Taps>
inline const Entry& ColorAt(const Entry* table, const Taps& taps, uint32_t lane) {
    return *reinterpret_cast<const Entry*>(reinterpret_cast<const uint8_t*>(table) + taps.Offset(lane));
}

#ifdef TESSALINE_RESAMPLE_X86
// Blue, green, red and 0 as four 32-bit whole numbers of 0 to 255: the pixel.
inline uint32_t PackedPixel(__m128i channels) {
    const __m128i words = _mm_packs_epi32(channels, channels);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}
#endif

// The sums of one pixel as the lanes below use them: the colour looked up
// here, the pixel stored at its own column. Sums holds the three sums of one
// destination pixel, each way in its own form; they start at 0, and the
// first contribution added to 0 is itself, only rounded.
template <class Sums>
struct OnePixel {
    static constexpr uint32_t kPixels = 1;
    template <class Taps>
    void Add(const Entry* table, const Taps& taps) {
        sums.Add(ColorAt(table, taps, 0), taps.weight);
    }
    // Adding to sums of 0 costs these ways no more than a start of its own.
    template <class Taps>
    void Start(const Entry* table, const Taps& taps) {
        Add(table, taps);
    }
    void Store(uint32_t* out, const int32_t* columns) const {
        out[columns[0]] = sums.Pixel();
    }
    // This pixel and the `next` at out[0] and out[1].
    void StoreRun(const OnePixel& next, uint32_t* out) const {
        out[0] = sums.Pixel();
        out[1] = next.sums.Pixel();
    }
    Sums sums;
};

// The colour table times each source row's weight, for one destination row.
class ScaledTables {
public:
    ScaledTables(const Entry* palette, uint32_t entries, uint32_t rows)
        : palette(palette), entries(entries), tables(static_cast<size_t>(entries) * rows) {}
    const Entry* For(const RowTap* rows, uint32_t count) {
        for (uint32_t r = 0; r < count; ++r) {
            Entry* table = tables.data() + static_cast<size_t>(r) * entries;
            for (uint32_t k = 0; k < entries; ++k) {
                for (int c = 0; c < 4; ++c) table[k].channel[c] = palette[k].channel[c] * rows[r].weight;
            }
        }
        return tables.data();
    }

private:
    const Entry* palette;
    uint32_t entries;
    std::vector<Entry> tables;
};

// Source rows as the averaging reads them: for each pixel, the byte offset
// of its colour's table entry, so that a contribution needs no arithmetic
// to find its colour. Each row is worked out once and kept while the
// destination rows that read it are summed: a destination row's source rows
// follow each other, so with a place for as many rows as the tallest
// destination row reads, row i kept in place i modulo that number, the rows
// of one destination row never take each other's place.
template <int kBits>
class IndexedRows {
public:
    IndexedRows(const Plan& plan, uint32_t places)
        : width(static_cast<size_t>(plan.sourceWidth)), places(places), held(places, -1), offsets(width * places) {}
    static ColumnTaps TapsAt(const Plan& plan, const uint16_t* row, uint32_t begin) {
        return ColumnTaps{row, plan.tapColumns.data() + begin, plan.tapWeights.data() + begin};
    }
    const uint16_t* For(const RowTap& row) {
        const uint32_t place = static_cast<uint32_t>(row.stored) % places;
        uint16_t* out = offsets.data() + place * width;
        if (held[place] != row.stored) {
            held[place] = row.stored;
            Index(row.row, out);
        }
        return out;
    }

private:
    static constexpr uint16_t kEntry = sizeof(Entry);
    void Index(const uint8_t* row, uint16_t* out) const {
        size_t x = 0;
#ifdef TESSALINE_RESAMPLE_X86
        // Sixteen bytes at a time: 16 pixels of 8 bits, 32 of 4.
        static_assert(kEntry == 1 << 5, "a table entry is 32 bytes");
        const __m128i zero = _mm_setzero_si128();
        const auto store = [&](size_t at, __m128i indices) {
            __m128i* to = reinterpret_cast<__m128i*>(out + at);
            _mm_storeu_si128(to, _mm_slli_epi16(_mm_unpacklo_epi8(indices, zero), 5));
            _mm_storeu_si128(to + 1, _mm_slli_epi16(_mm_unpackhi_epi8(indices, zero), 5));
        };
        if (kBits == 8) {
            for (; x + 16 <= width; x += 16) store(x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)));
        } else {
            const __m128i nibble = _mm_set1_epi8(0x0F);
            for (; x + 32 <= width; x += 32) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x / 2));
                const __m128i high = _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble);
                const __m128i low = _mm_and_si128(bytes, nibble);
                store(x, _mm_unpacklo_epi8(high, low));
                store(x + 16, _mm_unpackhi_epi8(high, low));
            }
        }
#endif
        for (; x < width; ++x) {
            // Four bits: the even pixel is the high nibble.
            const uint32_t index = kBits == 8 ? row[x] : (x % 2 != 0 ? row[x / 2] : row[x / 2] >> 4) & 0x0Fu;
            out[x] = static_cast<uint16_t>(index * kEntry);
        }
    }

    size_t width;
    uint32_t places;
    std::vector<int32_t> held;  // the row in each place, -1 for none
    std::vector<uint16_t> offsets;
};

// The sums of kLanes neighbouring lanes, each in a member of its own, so
// that the compiler keeps them in registers. Each lane holds
// Lane::kPixels pixels.
template <class Lane, uint32_t kLanes>
struct Lanes {
    Lane first;
    Lanes<Lane, kLanes - 1> rest;

    template <class Taps>
    void Add(const Entry* table, const Taps& taps) {
        first.Add(table, taps);
        rest.Add(table, taps + Lane::kPixels);
    }
    // The first contribution, to sums of 0.
    template <class Taps>
    void Start(const Entry* table, const Taps& taps) {
        first.Start(table, taps);
        rest.Start(table, taps + Lane::kPixels);
    }
    void Store(uint32_t* out, const int32_t* columns) const {
        first.Store(out, columns);
        rest.Store(out, columns + Lane::kPixels);
    }
    // The lanes' pixels side by side from out[0], two lanes at a time.
    void StoreRun(uint32_t* out) const {
        static_assert(kLanes % 2 == 0, "lanes are stored in twos");
        first.StoreRun(rest.first, out);
        rest.rest.StoreRun(out + 2 * Lane::kPixels);
    }
};

template <class Lane>
struct Lanes<Lane, 0> {
    template <class Taps>
    void Add(const Entry*, const Taps&) {}
    template <class Taps>
    void Start(const Entry*, const Taps&) {}
    void Store(uint32_t*, const int32_t*) const {}
    void StoreRun(uint32_t*) const {}
};

// Each pixel adds its contributions in the order rows, then columns within a
// row; the kColumns columns of a group side by side.
template <int kBits, class Lane, uint32_t kColumns, class Rows>
inline void AverageRow(const Plan& plan, const Entry* tables, const uint16_t* const* rows, uint32_t rowCount,
                       uint32_t* out) {
    constexpr uint32_t kEntries = 1u << kBits;
    const uint32_t groups = static_cast<uint32_t>(plan.groupBegin.size()) - 1;
    for (uint32_t group = 0; group < groups; ++group) {
        const uint32_t begin = plan.groupBegin[group];
        const uint32_t positions = (plan.groupBegin[group + 1] - plan.groupBegin[group]) / kColumns;
        Lanes<Lane, kColumns / Lane::kPixels> sums;
        for (uint32_t r = 0; r < rowCount; ++r) {
            const Entry* table = tables + r * kEntries;
            const auto taps = Rows::TapsAt(plan, rows[r], begin);
            uint32_t k = 0;
            if (r == 0 && positions > 0) {
                sums.Start(table, taps);
                k = 1;
            }
            for (; k < positions; ++k) sums.Add(table, taps + k * kColumns);
        }
        const int32_t* columns = plan.groupColumns.data() + static_cast<size_t>(group) * kColumns;
        if (plan.groupRun[group] != 0) {
            sums.StoreRun(out + columns[0]);
        } else {
            sums.Store(out, columns);
        }
    }
}

// Destination rows first to end - 1, the source rows read as Rows gives
// them (IndexedRows, or the AVX-512 way's own), in groups of kColumns.
template <int kBits, class Lane, uint32_t kColumns, class Rows = IndexedRows<kBits>>
void Average(const Plan& plan, const Entry* palette, int32_t width, int32_t first, int32_t end,
             uint32_t* destination) {
    ScaledTables scaled(palette, 1u << kBits, plan.tallest);
    Rows held(plan, plan.tallest);
    std::vector<const uint16_t*> sourceRows(plan.tallest);
    for (int32_t y = first; y < end; ++y) {
        const RowTap* rows = plan.rowTaps.data() + plan.rowBegin[y];
        const uint32_t count = plan.rowBegin[y + 1] - plan.rowBegin[y];
#ifdef TESSALINE_RESAMPLE_X86
        // The source rows two destination rows ahead start on their way to
        // the cache while this one is summed.
        if (y + 2 < end) {
            for (uint32_t tap = plan.rowBegin[y + 2]; tap < plan.rowBegin[y + 3]; ++tap) {
                for (uint32_t at = 0; at < plan.sourceStride; at += 64) {
                    _mm_prefetch(reinterpret_cast<const char*>(plan.rowTaps[tap].row + at), _MM_HINT_T0);
                }
            }
        }
#endif
        for (uint32_t r = 0; r < count; ++r) sourceRows[r] = held.For(rows[r]);
        AverageRow<kBits, Lane, kColumns, Rows>(plan, scaled.For(rows, count), sourceRows.data(), count,
                                                destination + static_cast<size_t>(y) * static_cast<size_t>(width));
    }
}

}  // namespace resample
