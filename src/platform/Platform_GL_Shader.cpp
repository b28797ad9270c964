#include "platform/Platform_GL_Shader.h"

#include <string>

namespace zorvex {

// Positions arrive in Direct3D clip space (row-vector matrices uploaded as they are, which GL
// reads as their transpose). The last line maps it to GL: x + w/vw and -y + w/vh put pixel
// centres on integers as Direct3D has them and store the picture top row first; 2z - w turns
// depth 0..1 into GL's -1..1.
const char* const kGLVertexShaderSource = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec2 aUV;
layout(location = 4) in uint aSlot;

uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProj;
uniform vec2 uPixel;
uniform bool uLighting;
uniform bool uLightOn[8];
uniform bool uLightPoint[8];
uniform vec3 uLightColor[8];
uniform vec3 uLightPos[8];
uniform vec3 uLightDir[8];
uniform float uLightRange[8];
uniform vec3 uLightAtt[8];
uniform bool uFogW;

out vec4 vColor;
flat out vec4 vFlatColor;
out vec2 vUV;
flat out uint vSlot;
out float vFogDepth;

void main() {
  vec4 world = uWorld * vec4(aPos, 1.0);
  vec4 clip = uProj * (uView * world);
  vec4 color = aColor;
  if (uLighting) {
    // Material = vertex colour, no ambient, no specular; normals are not renormalised.
    vec3 n = mat3(uWorld) * aNormal;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 8; ++i) {
      if (!uLightOn[i]) continue;
      if (uLightPoint[i]) {
        vec3 d = uLightPos[i] - world.xyz;
        float dist = length(d);
        if (dist > uLightRange[i]) continue;
        float att = 1.0 / (uLightAtt[i].x + uLightAtt[i].y * dist + uLightAtt[i].z * dist * dist);
        vec3 l = dist > 0.0 ? d / dist : vec3(0.0);
        sum += uLightColor[i] * max(dot(n, l), 0.0) * att;
      } else {
        vec3 l = -normalize(uLightDir[i]);
        sum += uLightColor[i] * max(dot(n, l), 0.0);
      }
    }
    color.rgb = clamp(color.rgb * sum, 0.0, 1.0);
  }
  vColor = color;
  vFlatColor = color;
  vUV = aUV;
  vSlot = aSlot;
  vFogDepth = uFogW ? clip.w : clip.z / clip.w;
  gl_Position = vec4(clip.x + clip.w * uPixel.x, -clip.y + clip.w * uPixel.y,
                     2.0 * clip.z - clip.w, clip.w);
}
)";

const char* const kGLFragmentShaderTemplate = R"(#version 330 core
in vec4 vColor;
flat in vec4 vFlatColor;
in vec2 vUV;
flat in uint vSlot;
in float vFogDepth;

uniform sampler2D uTex[8];
uniform bool uModulate;
uniform bool uAlphaTest;
uniform bool uFlat;
uniform bool uFog;
uniform vec3 uFogColor;
uniform float uFogStart;
uniform float uFogEnd;

out vec4 oColor;

@TEXEL@
void main() {
  vec4 diffuse = uFlat ? vFlatColor : vColor;
  vec4 t = Texel();
  vec4 c = uModulate ? t * diffuse : t;
  // Alpha test GREATER 0 compares the 8-bit alpha.
  if (uAlphaTest && c.a < 0.5 / 255.0) discard;
  if (uFog) {
    float f;
    if (uFogEnd != uFogStart) {
      f = clamp((uFogEnd - vFogDepth) / (uFogEnd - uFogStart), 0.0, 1.0);
    } else {
      f = vFogDepth < uFogEnd ? 1.0 : 0.0;
    }
    c.rgb = mix(uFogColor, c.rgb, f);
  }
  oColor = c;
}
)";

std::string BuildFragmentShader(int slots) {
  // Sampler arrays take constant indices only, and a software rasteriser runs every branch of
  // a switch: each program variant lists only the units its batches use.
  std::string texel = "vec4 Texel() {\n";
  if (slots <= 1) {
    texel += "  return vSlot == 0u ? texture(uTex[0], vUV) : vec4(1.0);\n";
  } else {
    texel += "  switch (vSlot) {\n";
    for (int i = 0; i < slots; ++i) {
      texel += "    case " + std::to_string(i) + "u: return texture(uTex[" + std::to_string(i) +
               "], vUV);\n";
    }
    texel += "    default: return vec4(1.0);\n  }\n";
  }
  texel += "}\n";
  std::string source = kGLFragmentShaderTemplate;
  source.replace(source.find("@TEXEL@"), 7, texel);
  return source;
}

}  // namespace zorvex
