// SPDX-License-Identifier: Apache-2.0
// The sample library's symbols rasterised through librsvg: every line
// unit's colour appears on its geometry and the background elsewhere.
#include "SvgTestSupport.h"

#include <markstore/Symbol.h>
#include <markstore/SymbolLibManager.h>
#include <markstore/SymbolSvg.h>
#include <markstore/SymbolUnitKinds.h>

#include <cairo.h>
#include <gtest/gtest.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <list>

using namespace HQ;

namespace {

struct Raster {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // premultiplied ARGB, as cairo stores them

    // R, G, B of a pixel.
    void rgb(int x, int y, int out[3]) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        out[0] = (p >> 16) & 255, out[1] = (p >> 8) & 255, out[2] = p & 255;
    }
};

bool Rasterise(const std::string& svg, Raster* raster) {
    RsvgHandle* handle =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), nullptr);
    if (!handle) return false;
    gdouble w = 0, h = 0;
    rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h);
    raster->width = static_cast<int>(w), raster->height = static_cast<int>(h);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, raster->width, raster->height);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport = {0, 0, w, h};
    const bool ok = rsvg_handle_render_document(handle, cr, &viewport, nullptr);
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    raster->pixels.resize(static_cast<std::size_t>(raster->width) * raster->height);
    for (int y = 0; y < raster->height; ++y)
        std::memcpy(&raster->pixels[static_cast<std::size_t>(y) * raster->width], data + y * stride,
                    raster->width * 4);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return ok;
}

// Whether a pixel near (x, y) has the colour, within a tolerance for
// anti-aliasing.
bool ColourNear(const Raster& r, double x, double y, const std::uint8_t rgb[3]) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int px = static_cast<int>(std::floor(x)) + dx, py = static_cast<int>(std::floor(y)) + dy;
            if (px < 0 || py < 0 || px >= r.width || py >= r.height) continue;
            int c[3];
            r.rgb(px, py, c);
            if (std::abs(c[0] - rgb[0]) < 40 && std::abs(c[1] - rgb[1]) < 40 && std::abs(c[2] - rgb[2]) < 40)
                return true;
        }
    return false;
}

}  // namespace

TEST(SymbolRaster, SampleLibraryColoursLieOnTheirGeometry) {
    IHQGS_SymbolLibManager* manager = SymbolLibManagerFactory::GetInstance();
    manager->init(0);
    const std::string path = SITPLOT_BINARY_DIR "/examples/symbol-library/sample.db";
    manager->setDBPath(path.c_str());
    ASSERT_TRUE(manager->open()) << path;
    std::list<CHQGS_Symbol*> marks = manager->findMarksByNameLike(0, "");
    manager->close();
    manager->release();
    ASSERT_EQ(marks.size(), 8u);

    int checkedLines = 0;
    for (CHQGS_Symbol* mark : marks) {
        std::unique_ptr<CHQGS_Symbol> owned(mark);
        SCOPED_TRACE(mark->GetCommAttr()->ID);
        SvgOptions options;
        options.sizePx = 240;
        options.background[0] = options.background[1] = options.background[2] = options.background[3] = 255;
        const std::string svg = RenderSymbolSvg(*mark, options);
        auto doc = ParseSvg(svg);
        ASSERT_TRUE(doc);
        const std::vector<double> box = Numbers(doc->RootElement()->Attribute("viewBox"));
        Raster raster;
        ASSERT_TRUE(Rasterise(svg, &raster));
        const double scale = raster.width / box[2];
        auto px = [&](const CHQ_Point2D& p) {
            return std::make_pair((p.x - box[0]) * scale, (p.y - box[1]) * scale);
        };

        // Background in the margin's corners.
        const std::uint8_t white[3] = {255, 255, 255};
        EXPECT_TRUE(ColourNear(raster, 2, 2, white));
        EXPECT_TRUE(ColourNear(raster, raster.width - 3, raster.height - 3, white));

        for (CHQGS_SymbolUnit* unit : mark->GetUnits()) {
            if (unit->GetType() != Unit_Line) continue;
            const std::vector<CHQ_Point2D> pts = unit->GetOriPts();
            if (pts.size() < 2) continue;
            const CHQGS_SymbolUnitAttr a = unit->GetAttr();
            // The middle of every segment carries the line colour.
            for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
                const auto m = px(CHQ_Point2D((pts[k].x + pts[k + 1].x) / 2, (pts[k].y + pts[k + 1].y) / 2));
                EXPECT_TRUE(ColourNear(raster, m.first, m.second, a.LineColor)) << "segment " << k;
            }
            // A filled unit carries its fill colour at its vertices' centre.
            if (!a.IsNotFill) {
                CHQ_Point2D c(0, 0);
                for (std::size_t k = 0; k + 1 < pts.size(); ++k) c.x += pts[k].x, c.y += pts[k].y;
                c.x /= static_cast<double>(pts.size() - 1), c.y /= static_cast<double>(pts.size() - 1);
                const auto m = px(c);
                EXPECT_TRUE(ColourNear(raster, m.first, m.second, a.FillColor));
            }
            ++checkedLines;
        }
    }
    EXPECT_GE(checkedLines, 12);
}
