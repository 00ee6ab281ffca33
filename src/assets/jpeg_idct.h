#pragma once
#include <cstdint>

// 8 x 8 inverse DCT: the AAN scaled transform in 16-bit fixed point. Both
// entry points give the same bytes; the SSE2 one exists only on x86-64.

// Turns a quantisation table (64 entries in zig-zag order) into the prescaled
// table the transform multiplies by, in natural order.
void jpegPrescaleQuantTable(const std::uint16_t zigzagQuant[64], std::uint16_t prescaled[64]);

// coef: 64 coefficients in natural order (not modified); out: 8 rows of 8
// samples, `stride` bytes apart. coef and prescaled must be 16-byte aligned.
void jpegIdctScalar(const std::int16_t* coef, const std::uint16_t* prescaled, std::uint8_t* out, int stride);
bool jpegIdctSse2Available();
void jpegIdctSse2(const std::int16_t* coef, const std::uint16_t* prescaled, std::uint8_t* out, int stride);

// The same transform, with the same bytes, for a block whose non-zero
// coefficients all lie at zig-zag positions 0 .. 9, as most chroma blocks'
// do: only the top-left 4 x 4 corner, which holds those, is read.
void jpegIdctSparseScalar(const std::int16_t* coef, const std::uint16_t* prescaled, std::uint8_t* out, int stride);
void jpegIdctSparseSse2(const std::int16_t* coef, const std::uint16_t* prescaled, std::uint8_t* out, int stride);
inline constexpr int kJpegSparseZigzagEnd = 10;

// A block whose AC coefficients are all zero: every sample is the same.
void jpegIdctDcOnly(std::int16_t dc, std::uint16_t prescaledDc, std::uint8_t* out, int stride);

// Zig-zag position -> natural position; 16 extra entries let a decoder that
// overruns position 63 by a run land on a harmless index.
extern const std::uint8_t kJpegZigzagToNatural[64 + 16];
