// The backends this build carries; only the seam's switch names them.
#pragma once

#include "render/renderer.h"

#if defined(VELMORIN_RENDERER_GL11)
extern const RendererBackend kGl11Renderer;
#endif
#if defined(VELMORIN_RENDERER_GLES2)
extern const RendererBackend kGles2Renderer;
#endif
