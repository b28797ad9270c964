#include "platform/Platform_GL_Shader.h"

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

const char* const kGLFragmentShaderSource = R"(#version 330 core
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

vec4 Texel() {
  // Sampler arrays take constant indices only; the slot is the same for the whole primitive.
  switch (vSlot) {
    case 0u: return texture(uTex[0], vUV);
    case 1u: return texture(uTex[1], vUV);
    case 2u: return texture(uTex[2], vUV);
    case 3u: return texture(uTex[3], vUV);
    case 4u: return texture(uTex[4], vUV);
    case 5u: return texture(uTex[5], vUV);
    case 6u: return texture(uTex[6], vUV);
    case 7u: return texture(uTex[7], vUV);
    default: return vec4(1.0);  // no texture reads as opaque white
  }
}

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

}  // namespace zorvex
