#include "Records.h"

namespace swf
{

Rect readRect(ByteReader& reader)
{
    const unsigned bits = reader.bits(5);
    Rect rect;
    rect.xMin = reader.signedBits(bits);
    rect.xMax = reader.signedBits(bits);
    rect.yMin = reader.signedBits(bits);
    rect.yMax = reader.signedBits(bits);
    reader.alignToByte();
    return rect;
}

Matrix readMatrix(ByteReader& reader)
{
    Matrix matrix;
    if (reader.flag()) {
        const unsigned bits = reader.bits(5);
        matrix.a = reader.fixedBits(bits);
        matrix.d = reader.fixedBits(bits);
    }
    if (reader.flag()) {
        const unsigned bits = reader.bits(5);
        matrix.b = reader.fixedBits(bits);
        matrix.c = reader.fixedBits(bits);
    }
    const unsigned bits = reader.bits(5);
    matrix.tx = reader.signedBits(bits);
    matrix.ty = reader.signedBits(bits);
    reader.alignToByte();
    return matrix;
}

ColourTransform readColourTransform(ByteReader& reader, bool withAlpha)
{
    const bool hasAdd = reader.flag();
    const bool hasMultiply = reader.flag();
    const unsigned bits = reader.bits(4);
    ColourTransform transform;
    if (hasMultiply) {
        transform.redMultiply = reader.signedBits(bits) / 256.0;
        transform.greenMultiply = reader.signedBits(bits) / 256.0;
        transform.blueMultiply = reader.signedBits(bits) / 256.0;
        if (withAlpha)
            transform.alphaMultiply = reader.signedBits(bits) / 256.0;
    }
    if (hasAdd) {
        transform.redAdd = reader.signedBits(bits);
        transform.greenAdd = reader.signedBits(bits);
        transform.blueAdd = reader.signedBits(bits);
        if (withAlpha)
            transform.alphaAdd = reader.signedBits(bits);
    }
    reader.alignToByte();
    return transform;
}

Rgba readRgb(ByteReader& reader)
{
    const auto bytes = reader.bytes(3);
    return {bytes[0], bytes[1], bytes[2], 255};
}

Rgba readRgba(ByteReader& reader)
{
    const auto bytes = reader.bytes(4);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

Rgba readArgb(ByteReader& reader)
{
    const auto bytes = reader.bytes(4);
    return {bytes[1], bytes[2], bytes[3], bytes[0]};
}

} // namespace swf
