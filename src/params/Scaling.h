#pragma once
// Conversions between controller words and shown values, in extended precision.
// Each binding names its own operation: multiplying by 0.1 is not dividing by 10.

#include <cstdint>

enum class Decode {
    Word,              // v = word
    WordPlus1,         // v = word + 1
    Div1000,           // v = word / 1000
    Mul0_1,            // v = word * 0.1
    Div10,             // v = word / 10
    Div1024,           // v = word / 1024
    Div10_24,          // v = word / 10.24
    Mul0_02,           // v = word * 0.02
    Div10Minus273,     // v = word / 10 - 273
    Mul0_1Minus273,    // v = word * 0.1 - 273
    Minus1024Div10_24, // v = (word - 1024) / 10.24
};

enum class Encode {
    Round,            // round(v)
    RoundMinus1,      // round(v) - 1
    Mul1000,          // round(v * 1000)
    Div0_1,           // round(v / 0.1)
    Mul10,            // round(v * 10)
    Mul1024,          // round(v * 1024)
    Mul10_24,         // round(v * 10.24)
    Div0_02,          // round(v / 0.02)
    Mul10Plus2730,    // round(v * 10 + 2730)
    Mul10_24Plus1024, // round(v * 10.24 + 1024)
};

long double DecodeWord(Decode rule, uint16_t word);
// The decoding of a whole number that is no word: a negative one, which goes out as its low
// 16 bits.
long double DecodeWhole(Decode rule, long long whole);
uint16_t EncodeValue(Encode rule, long double value);
// The whole number that EncodeValue takes the low 16 bits of.
long long EncodeWhole(Encode rule, long double value);

// Nearest integer, ties to even, as a word: the low 16 bits (two's complement when negative).
uint16_t RoundToWord(long double value);
// Nearest integer, ties to even.
long long RoundHalfEven(long double value);
