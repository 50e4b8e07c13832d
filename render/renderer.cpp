// The drawing seam's switch: which backend the renderer* calls reach.
#include "render/renderer.h"

#include <cstring>

#include "render/renderer_backends.h"

#if defined(VELMORIN_RENDERER_GL11)
const RendererBackend* activeRenderer = &kGl11Renderer;
#else
const RendererBackend* activeRenderer = &kGles2Renderer;
#endif

bool rendererSelect(RendererKind kind) {
    switch (kind) {
    case RendererKind::Gl11:
#if defined(VELMORIN_RENDERER_GL11)
        activeRenderer = &kGl11Renderer;
        return true;
#else
        return false;
#endif
    case RendererKind::Gles2:
#if defined(VELMORIN_RENDERER_GLES2)
        activeRenderer = &kGles2Renderer;
        return true;
#else
        return false;
#endif
    }
    return false;
}

RendererKind rendererSelected() {
#if defined(VELMORIN_RENDERER_GL11)
    if (activeRenderer == &kGl11Renderer) {
        return RendererKind::Gl11;
    }
#endif
    return RendererKind::Gles2;
}

RendererKind rendererDefaultKind() {
#if defined(VELMORIN_RENDERER_GL11)
    return RendererKind::Gl11;
#else
    return RendererKind::Gles2;
#endif
}

bool rendererKindFromName(const char* name, RendererKind* kind) {
    if (name == nullptr) {
        return false;
    }
    if (std::strcmp(name, "gl11") == 0) {
        *kind = RendererKind::Gl11;
        return true;
    }
    if (std::strcmp(name, "gles2") == 0) {
        *kind = RendererKind::Gles2;
        return true;
    }
    return false;
}
