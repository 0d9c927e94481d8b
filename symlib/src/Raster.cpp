// SPDX-License-Identifier: Apache-2.0
#include "Raster.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>

namespace symlib {

bool WritePng(const std::string& svg, const std::string& path, std::string* why) {
    GError* error = nullptr;
    RsvgHandle* handle =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
    if (!handle) {
        *why = std::string("cannot read the SVG: ") + (error ? error->message : "unknown error");
        if (error) g_error_free(error);
        return false;
    }
    gdouble w = 0, h = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h) || w < 1 || h < 1) w = h = 256;
    const int width = static_cast<int>(std::ceil(w)), height = static_cast<int>(std::ceil(h));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport = {0, 0, static_cast<double>(width), static_cast<double>(height)};
    bool ok = rsvg_handle_render_document(handle, cr, &viewport, &error);
    if (!ok) {
        *why = std::string("cannot draw the SVG: ") + (error ? error->message : "unknown error");
        if (error) g_error_free(error);
    }
    cairo_destroy(cr);
    if (ok && cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
        *why = "cannot write " + path;
        ok = false;
    }
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return ok;
}

}  // namespace symlib
