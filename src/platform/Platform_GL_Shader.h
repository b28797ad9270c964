// The one shader program of the renderer: the fixed-function stages of the old pipeline
// (texture x diffuse or texture alone, alpha test, eight lights, linear fog on depth or w, flat
// or smooth shading) plus the correction from Direct3D's clip space to GL's.
#pragma once

#include <string>

namespace zorvex {

extern const char* const kGLVertexShaderSource;
// The fragment shader for batches that sample up to `slots` textures (1, 2, 4 or 8); the white
// of "no texture" is always available.
std::string BuildFragmentShader(int slots);

// Texture units the batcher binds at once; a vertex names its unit, kGLNoTextureSlot none.
// There is one program per variant.
constexpr int kGLTextureSlots = 8;
constexpr unsigned kGLNoTextureSlot = 8;
constexpr int kGLProgramVariants = 4;  // 1, 2, 4 and 8 units

}  // namespace zorvex
