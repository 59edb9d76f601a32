#include "widgets/AlertBox.h"

namespace plintor {

GObjectRef<GtkWidget> newAlertBox(const char* name) {
    auto box = GObjectRef<GtkWidget>::sink(
        GTK_WIDGET(g_object_new(GTK_TYPE_BOX, "orientation", GTK_ORIENTATION_VERTICAL,
                                "accessible-role", GTK_ACCESSIBLE_ROLE_ALERT, nullptr)));
    gtk_accessible_update_property(GTK_ACCESSIBLE(box.get()), GTK_ACCESSIBLE_PROPERTY_LABEL, name,
                                   -1);
    return box;
}

void describeAlert(GtkWidget* alert, GtkWidget* message) {
    gtk_accessible_update_relation(GTK_ACCESSIBLE(alert), GTK_ACCESSIBLE_RELATION_DESCRIBED_BY,
                                   message, nullptr, -1);
}

GtkWidget* newWrappingLabel() {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_label_set_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 1);
    return label;
}

}  // namespace plintor
