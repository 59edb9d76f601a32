#include "widgets/ScaledTexture.h"

#include <gtk/gtk.h>

// GObject's type macros need a C-style instance and class.
struct PlintorScaledTexture {
    GObject parent;
    GdkTexture* texture;
    int width;
    int height;
};

struct PlintorScaledTextureClass {
    GObjectClass parent;
};

namespace {

void snapshotTexture(GdkPaintable* paintable, GdkSnapshot* snapshot, double width, double height);
int intrinsicWidth(GdkPaintable* paintable);
int intrinsicHeight(GdkPaintable* paintable);

void initPaintable(GdkPaintableInterface* iface) {
    iface->snapshot = snapshotTexture;
    iface->get_intrinsic_width = intrinsicWidth;
    iface->get_intrinsic_height = intrinsicHeight;
}

}  // namespace

G_DEFINE_TYPE_WITH_CODE(PlintorScaledTexture, plintor_scaled_texture, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(GDK_TYPE_PAINTABLE, initPaintable))

namespace {

PlintorScaledTexture* self(GdkPaintable* paintable) {
    return G_TYPE_CHECK_INSTANCE_CAST(paintable, plintor_scaled_texture_get_type(),
                                      PlintorScaledTexture);
}

void snapshotTexture(GdkPaintable* paintable, GdkSnapshot* snapshot, double width, double height) {
    gdk_paintable_snapshot(GDK_PAINTABLE(self(paintable)->texture), snapshot, width, height);
}

int intrinsicWidth(GdkPaintable* paintable) {
    return self(paintable)->width;
}

int intrinsicHeight(GdkPaintable* paintable) {
    return self(paintable)->height;
}

}  // namespace

static void plintor_scaled_texture_finalize(GObject* object) {
    g_clear_object(
        &G_TYPE_CHECK_INSTANCE_CAST(object, plintor_scaled_texture_get_type(), PlintorScaledTexture)
             ->texture);
    G_OBJECT_CLASS(plintor_scaled_texture_parent_class)->finalize(object);
}

static void plintor_scaled_texture_class_init(PlintorScaledTextureClass* type) {
    G_OBJECT_CLASS(type)->finalize = plintor_scaled_texture_finalize;
}

static void plintor_scaled_texture_init(PlintorScaledTexture*) {}

namespace plintor {

GdkPaintable* scaledTextureNew(GdkTexture* texture, int width, int height) {
    auto* scaled = static_cast<PlintorScaledTexture*>(
        g_object_new(plintor_scaled_texture_get_type(), nullptr));
    scaled->texture = static_cast<GdkTexture*>(g_object_ref(texture));
    scaled->width = width;
    scaled->height = height;
    return GDK_PAINTABLE(scaled);
}

}  // namespace plintor
