#pragma once

#include <glib-object.h>
#include <memory>

// Gives back one reference to a GObject.
struct SGObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};

// Owns one reference to a GObject: a "transfer full" result, or one taken with g_object_ref.
template <typename T> using GObjectPtr = std::unique_ptr<T, SGObjectUnref>;
