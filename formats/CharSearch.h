#pragma once

#include <QStringView>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The file readers find line breaks and separators with these; eight characters are
// compared at a time where the processor can.

namespace CharSearchDetail {

// Visits every position of c in text, and of mark too when VisitMark, in order, until
// visit returns false. Returns whether mark occurs in the characters looked at until
// then, which may run up to seven characters past the last position visited.
template <bool VisitMark, typename Visit>
bool scan(QStringView text, char16_t c, char16_t mark, Visit visit)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    bool marked = false;
#if defined(__SSE2__)
    const __m128i wantC = _mm_set1_epi16(static_cast<short>(c));
    const __m128i wantMark = _mm_set1_epi16(static_cast<short>(mark));
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const __m128i markHits = _mm_cmpeq_epi16(chunk, wantMark);
        marked = marked || _mm_movemask_epi8(markHits) != 0;
        __m128i hits = _mm_cmpeq_epi16(chunk, wantC);
        if constexpr (VisitMark)
            hits = _mm_or_si128(hits, markHits);
        // The mask has two bits per character; the lower one of each is kept.
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits)) & 0x5555u; mask != 0; mask &= mask - 1) {
            if (!visit(i + __builtin_ctz(mask) / 2))
                return marked;
        }
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == mark) {
            marked = true;
            if (VisitMark && !visit(i))
                return marked;
        } else if (data[i] == c && !visit(i)) {
            return marked;
        }
    }
    return marked;
}

} // namespace CharSearchDetail

// Calls visit(position) for every position of a or of b in text, in order, until visit
// returns false.
template <typename Visit>
void forEachOfEither(QStringView text, char16_t a, char16_t b, Visit visit)
{
    CharSearchDetail::scan<true>(text, a, b, visit);
}

// Calls visit(position) for every position of c in text, in order, until visit returns
// false. Returns whether mark occurs in the characters looked at until then, which may
// run up to seven characters past the last position visited: a hint for a caller that
// then looks closer.
template <typename Visit>
bool forEachOfNoting(QStringView text, char16_t c, char16_t mark, Visit visit)
{
    return CharSearchDetail::scan<false>(text, c, mark, visit);
}
