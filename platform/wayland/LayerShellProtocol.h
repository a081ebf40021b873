// The layer-shell protocol's generated client header, whose requests name
// an argument "namespace": a keyword in C++, renamed while it is read.
#pragma once

#include <wayland-client.h>

#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
