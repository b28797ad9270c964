// The one shader program of the renderer: the fixed-function stages of the old pipeline
// (texture x diffuse or texture alone, alpha test, eight lights, linear fog on depth or w, flat
// or smooth shading) plus the correction from Direct3D's clip space to GL's.
#pragma once

namespace zorvex {

extern const char* const kGLVertexShaderSource;
extern const char* const kGLFragmentShaderSource;

// Texture units the batcher binds at once; a vertex names its unit, kGLNoTextureSlot none.
constexpr int kGLTextureSlots = 8;
constexpr unsigned kGLNoTextureSlot = 8;

}  // namespace zorvex
