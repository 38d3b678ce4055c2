#include "gif_writer.h"

#include <gif_lib.h>
#include <memory>
#include <vector>

namespace demoportal {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct FreeMap {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

QByteArray encodeGif(const QImage& image) {
    if (image.isNull())
        return {};
    // Charts drawn without anti-aliasing have a handful of colours and keep
    // them exactly; anything richer is reduced to a fixed palette.
    const QImage indexed =
        image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither | Qt::ColorOnly);
    const QList<QRgb> table = indexed.colorTable();
    if (table.isEmpty() || table.size() > 256)
        return {};

    std::unique_ptr<ColorMapObject, FreeMap> map(GifMakeMapObject(256, nullptr));
    if (!map)
        return {};
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = table.value(i, qRgb(0, 0, 0));
        map->Colors[i] =
            GifColorType{static_cast<GifByteType>(qRed(colour)), static_cast<GifByteType>(qGreen(colour)),
                         static_cast<GifByteType>(qBlue(colour))};
    }

    QByteArray out;
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gif(EGifOpen(&out, appendBytes, &error));
    if (!gif)
        return {};
    EGifSetGifVersion(gif.get(), true);
    const int width = indexed.width();
    const int height = indexed.height();
    if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, map.get()) == GIF_ERROR ||
        EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR)
        return {};
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        const uchar* row = indexed.constScanLine(y);
        std::copy(row, row + width, line.begin());
        if (EGifPutLine(gif.get(), line.data(), width) == GIF_ERROR)
            return {};
    }
    // Closing writes the trailer; only then is the file whole.
    GifFileType* closing = gif.release();
    if (EGifCloseFile(closing, &error) == GIF_ERROR)
        return {};
    return out;
}

} // namespace demoportal
