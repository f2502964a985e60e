#include "Scaling.h"

#include <cmath>

long long RoundHalfEven(long double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<long long>(std::nearbyintl(value));
}

uint16_t RoundToWord(long double value) {
    return static_cast<uint16_t>(static_cast<unsigned long long>(RoundHalfEven(value)) & 0xFFFFu);
}

long double DecodeWord(Decode rule, uint16_t word) {
    return DecodeWhole(rule, word);
}

long double DecodeWhole(Decode rule, long long whole) {
    const auto w = static_cast<long double>(whole);
    switch (rule) {
    case Decode::Word:
        return w;
    case Decode::WordPlus1:
        return w + 1;
    case Decode::Div1000:
        return w / 1000;
    case Decode::Mul0_1:
        return w * 0.1L;
    case Decode::Div10:
        return w / 10;
    case Decode::Div1024:
        return w / 1024;
    case Decode::Div10_24:
        return w / 10.24L;
    case Decode::Mul0_02:
        return w * 0.02L;
    case Decode::Div10Minus273:
        return w / 10 - 273;
    case Decode::Mul0_1Minus273:
        return w * 0.1L - 273;
    case Decode::Minus1024Div10_24:
        return (w - 1024) / 10.24L;
    }
    return w;
}

uint16_t EncodeValue(Encode rule, long double v) {
    return static_cast<uint16_t>(static_cast<unsigned long long>(EncodeWhole(rule, v)) & 0xFFFFu);
}

long long EncodeWhole(Encode rule, long double v) {
    switch (rule) {
    case Encode::Round:
        return RoundHalfEven(v);
    case Encode::RoundMinus1:
        return RoundHalfEven(v) - 1;
    case Encode::Mul1000:
        return RoundHalfEven(v * 1000);
    case Encode::Div0_1:
        return RoundHalfEven(v / 0.1L);
    case Encode::Mul10:
        return RoundHalfEven(v * 10);
    case Encode::Mul1024:
        return RoundHalfEven(v * 1024);
    case Encode::Mul10_24:
        return RoundHalfEven(v * 10.24L);
    case Encode::Div0_02:
        return RoundHalfEven(v / 0.02L);
    case Encode::Mul10Plus2730:
        return RoundHalfEven(v * 10 + 2730);
    case Encode::Mul10_24Plus1024:
        return RoundHalfEven(v * 10.24L + 1024);
    }
    return RoundHalfEven(v);
}
