#include "platform/Platform_GL.h"

#include <SDL.h>
#include <dlfcn.h>
#include <epoxy/gl.h>
#include <link.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform_GL_Shader.h"

namespace zorvex {

namespace {

// What the GPU gets per vertex: the game's vertex plus the texture unit it samples.
struct GPUVertex {
  float x, y, z;
  float nx, ny, nz;
  uint32_t color;
  float u, v;
  uint32_t slot;
};
static_assert(sizeof(GPUVertex) == 40);

constexpr size_t kMaxBatchVertices = 65535;  // 16-bit indices

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

GLenum BlendFactorToGL(int32_t f) {
  static const GLenum kTable[12] = {
      0,
      GL_ZERO,
      GL_ONE,
      GL_SRC_COLOR,
      GL_ONE_MINUS_SRC_COLOR,
      GL_SRC_ALPHA,
      GL_ONE_MINUS_SRC_ALPHA,
      GL_DST_ALPHA,
      GL_ONE_MINUS_DST_ALPHA,
      GL_DST_COLOR,
      GL_ONE_MINUS_DST_COLOR,
      GL_SRC_ALPHA_SATURATE,
  };
  return f >= 1 && f <= 11 ? kTable[f] : GL_ZERO;
}

// Primitive class of each kind: what one batch may mix.
GLenum ModeOfKind(int32_t kind) {
  switch (kind) {
    case kGLPointList:
      return GL_POINTS;
    case kGLLineList:
    case kGLLineStrip:
      return GL_LINES;
    default:
      return GL_TRIANGLES;
  }
}

GLuint CompileShader(GLenum type, const char* source, std::string* error) {
  GLuint s = glCreateShader(type);
  glShaderSource(s, 1, &source, nullptr);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetShaderInfoLog(s, sizeof log, nullptr, log);
    if (error) *error = std::string("shader compilation failed: ") + log;
    glDeleteShader(s);
    return 0;
  }
  return s;
}

}  // namespace

// One linked program variant with its uniform locations.
struct GLProgram {
  GLuint id = 0;
  GLint world = -1, view = -1, proj = -1, pixel = -1, lighting = -1;
  GLint light_on[8], light_point[8], light_color[8], light_pos[8], light_dir[8];
  GLint light_range[8], light_att[8];
  GLint fog_w = -1, modulate = -1, alpha_test = -1, flat = -1, fog = -1;
  GLint fog_color = -1, fog_start = -1, fog_end = -1;
  uint64_t synced = ~uint64_t{0};  // uniform version last uploaded
};

namespace {

// Marks the loaded GL driver modules as never to be unloaded. The driver would otherwise be
// dropped and loaded again with every device, and memory checkers could not name what the
// driver keeps until exit.
void PinDriverModules() {
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void*) {
        const char* name = info->dlpi_name;
        if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium"))) {
          dlopen(name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);  // the handle stays open
        }
        return 0;
      },
      nullptr);
}

bool BuildProgram(GLProgram& p, int slots, std::string* error) {
  GLuint vs = CompileShader(GL_VERTEX_SHADER, kGLVertexShaderSource, error);
  if (!vs) return false;
  const std::string fragment = BuildFragmentShader(slots);
  GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragment.c_str(), error);
  if (!fs) {
    glDeleteShader(vs);
    return false;
  }
  p.id = glCreateProgram();
  glAttachShader(p.id, vs);
  glAttachShader(p.id, fs);
  glLinkProgram(p.id);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint linked = 0;
  glGetProgramiv(p.id, GL_LINK_STATUS, &linked);
  if (!linked) {
    char log[2048] = {};
    glGetProgramInfoLog(p.id, sizeof log, nullptr, log);
    if (error) *error = std::string("shader link failed: ") + log;
    return false;
  }
  glUseProgram(p.id);
  auto loc = [&](const std::string& name) { return glGetUniformLocation(p.id, name.c_str()); };
  p.world = loc("uWorld");
  p.view = loc("uView");
  p.proj = loc("uProj");
  p.pixel = loc("uPixel");
  p.lighting = loc("uLighting");
  for (int i = 0; i < 8; ++i) {
    // Array elements are looked up one by one: their locations need not be consecutive.
    char index_text[8];
    std::snprintf(index_text, sizeof index_text, "[%d]", i);
    const std::string index = index_text;
    p.light_on[i] = loc("uLightOn" + index);
    p.light_point[i] = loc("uLightPoint" + index);
    p.light_color[i] = loc("uLightColor" + index);
    p.light_pos[i] = loc("uLightPos" + index);
    p.light_dir[i] = loc("uLightDir" + index);
    p.light_range[i] = loc("uLightRange" + index);
    p.light_att[i] = loc("uLightAtt" + index);
    glUniform1i(loc("uTex" + index), i);
  }
  p.fog_w = loc("uFogW");
  p.modulate = loc("uModulate");
  p.alpha_test = loc("uAlphaTest");
  p.flat = loc("uFlat");
  p.fog = loc("uFog");
  p.fog_color = loc("uFogColor");
  p.fog_start = loc("uFogStart");
  p.fog_end = loc("uFogEnd");
  return true;
}

}  // namespace

struct CGLRenderer::Impl {
  SDL_Window* window = nullptr;
  bool own_window = false;
  SDL_GLContext context = nullptr;

  GLProgram programs[kGLProgramVariants];
  int current_program = -1;
  uint64_t uniform_version = 0;  // bumped by every change of a uniform value
  GLuint vao = 0, vbo = 0, ibo = 0;
  GLuint sampler = 0;
  int max_texture_size = 0;

  // Back buffer.
  GLuint back_fbo = 0, back_color = 0, back_depth = 0;
  int back_width = 0, back_height = 0;
  bool back_has_depth = false;

  // Render-target textures and their framebuffers; sizes of every texture.
  std::unordered_map<GLuint, GLuint> target_fbo;
  struct TexSize {
    int w, h;
  };
  std::unordered_map<GLuint, TexSize> tex_size;
  GLuint current_target = 0;

  // Batch.
  std::vector<GPUVertex> vertices;
  std::vector<uint16_t> indices;
  GLenum batch_mode = GL_TRIANGLES;
  GLuint slots[kGLTextureSlots] = {};
  int slots_used = 0;

  // Cached state.
  int vp_x = 0, vp_y = 0, vp_w = 1, vp_h = 1;
  float world[16], view[16], proj[16];
  int32_t blend_src = kGLBlendSrcAlpha, blend_dest = kGLBlendInvSrcAlpha;
  bool cull = false, lighting = false, flat = false, depth_test = false, alpha_test = false;
  bool fog = false;
  uint32_t fog_color = 0;
  float fog_start = 0, fog_end = 1;
  bool fog_w = false;
  bool linear = true, wrap = false, modulate = true;
  GLLight lights[8];
  bool light_on[8] = {};

  GLStats stats;

  void SetMatrix(float* cache, const float m[16]) {
    if (std::memcmp(cache, m, 16 * sizeof(float)) == 0) return;
    Flush();
    std::memcpy(cache, m, 16 * sizeof(float));
    uniform_version++;
  }

  GLuint FramebufferOf(GLuint target) const {
    if (target == 0) return back_fbo;
    auto it = target_fbo.find(target);
    return it == target_fbo.end() ? back_fbo : it->second;
  }

  void ApplyViewport() {
    glViewport(vp_x, vp_y, vp_w, vp_h);
    uniform_version++;
  }

  void UploadUniforms(GLProgram& p) {
    glUniformMatrix4fv(p.world, 1, GL_FALSE, world);
    glUniformMatrix4fv(p.view, 1, GL_FALSE, view);
    glUniformMatrix4fv(p.proj, 1, GL_FALSE, proj);
    glUniform2f(p.pixel, 1.0f / static_cast<float>(std::max(vp_w, 1)),
                1.0f / static_cast<float>(std::max(vp_h, 1)));
    glUniform1i(p.lighting, lighting ? 1 : 0);
    for (int i = 0; i < 8; ++i) {
      const GLLight& l = lights[i];
      glUniform1i(p.light_on[i], light_on[i] ? 1 : 0);
      glUniform1i(p.light_point[i], l.point ? 1 : 0);
      glUniform3f(p.light_color[i], l.r, l.g, l.b);
      glUniform3f(p.light_pos[i], l.x, l.y, l.z);
      glUniform3f(p.light_dir[i], l.dx, l.dy, l.dz);
      glUniform1f(p.light_range[i], l.range);
      glUniform3f(p.light_att[i], l.att0, l.att1, l.att2);
    }
    glUniform1i(p.fog_w, fog_w ? 1 : 0);
    glUniform1i(p.modulate, modulate ? 1 : 0);
    glUniform1i(p.alpha_test, alpha_test ? 1 : 0);
    glUniform1i(p.flat, flat ? 1 : 0);
    glUniform1i(p.fog, fog ? 1 : 0);
    glUniform3f(p.fog_color, static_cast<float>((fog_color >> 16) & 0xFF) / 255.0f,
                static_cast<float>((fog_color >> 8) & 0xFF) / 255.0f,
                static_cast<float>(fog_color & 0xFF) / 255.0f);
    glUniform1f(p.fog_start, fog_start);
    glUniform1f(p.fog_end, fog_end);
    p.synced = uniform_version;
  }

  // The cheapest program that samples every unit the pending batch uses.
  void UseProgramFor(int units) {
    int v = units <= 1 ? 0 : units <= 2 ? 1 : units <= 4 ? 2 : 3;
    if (v != current_program) {
      glUseProgram(programs[v].id);
      current_program = v;
    }
    if (programs[v].synced != uniform_version) UploadUniforms(programs[v]);
  }

  void Flush() {
    if (indices.empty()) {
      vertices.clear();
      return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    GLsizeiptr vbytes = static_cast<GLsizeiptr>(vertices.size() * sizeof(GPUVertex));
    glBufferData(GL_ARRAY_BUFFER, vbytes, nullptr, GL_STREAM_DRAW);  // orphan the old storage
    glBufferSubData(GL_ARRAY_BUFFER, 0, vbytes, vertices.data());
    GLsizeiptr ibytes = static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t));
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, ibytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, ibytes, indices.data());
    UseProgramFor(slots_used);
    glDrawElements(batch_mode, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, nullptr);
    stats.draw_calls++;
    stats.vertices += static_cast<int64_t>(vertices.size());
    vertices.clear();
    indices.clear();
    slots_used = 0;  // each batch binds its textures from unit 0, to use the smallest program
  }

  // The unit a texture is bound to for the pending batch, binding it if needed.
  unsigned SlotFor(GLuint texture) {
    if (texture == 0) return kGLNoTextureSlot;
    for (int i = 0; i < slots_used; ++i) {
      if (slots[i] == texture) return static_cast<unsigned>(i);
    }
    if (slots_used == kGLTextureSlots) Flush();
    int i = slots_used++;
    slots[i] = texture;
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
    glBindTexture(GL_TEXTURE_2D, texture);
    return static_cast<unsigned>(i);
  }

  void ForgetTexture(GLuint texture) {
    for (int i = 0; i < slots_used; ++i) {
      if (slots[i] == texture) {
        Flush();
        slots_used = 0;
        return;
      }
    }
  }

  void ApplySampler() {
    GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    GLint address = wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, filter);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, filter);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, address);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, address);
  }

  bool BuildBackBuffer(int w, int h, bool depth) {
    if (back_fbo) glDeleteFramebuffers(1, &back_fbo);
    if (back_color) glDeleteRenderbuffers(1, &back_color);
    if (back_depth) glDeleteRenderbuffers(1, &back_depth);
    back_fbo = back_color = back_depth = 0;
    w = std::max(w, 1);
    h = std::max(h, 1);
    glGenFramebuffers(1, &back_fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, back_fbo);
    glGenRenderbuffers(1, &back_color);
    glBindRenderbuffer(GL_RENDERBUFFER, back_color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, back_color);
    if (depth) {
      glGenRenderbuffers(1, &back_depth);
      glBindRenderbuffer(GL_RENDERBUFFER, back_depth);
      glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, w, h);
      glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, back_depth);
    }
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    back_width = w;
    back_height = h;
    back_has_depth = depth;
    current_target = 0;
    vp_x = vp_y = 0;
    vp_w = w;
    vp_h = h;
    ApplyViewport();
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | (depth ? GL_DEPTH_BUFFER_BIT : 0));
    return ok;
  }
};

CGLRenderer::CGLRenderer() : impl_(std::make_unique<Impl>()) {}

CGLRenderer::~CGLRenderer() {
  Destroy();
}

bool CGLRenderer::QueryDisplayMode(GLDisplayMode& mode, std::string* error) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      if (error) *error = SDL_GetError();
      return false;
    }
  }
  SDL_DisplayMode m;
  if (SDL_GetCurrentDisplayMode(0, &m) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  mode.width = m.w;
  mode.height = m.h;
  // Bytes per pixel x 8: a 24-bit RGB888 desktop holds 4 bytes per pixel.
  mode.bits_per_pixel = SDL_BYTESPERPIXEL(m.format) * 8;
  mode.refresh_rate = m.refresh_rate;
  return true;
}

bool CGLRenderer::Create(SDL_Window* window, int back_width, int back_height, bool depth,
                         std::string* error) {
  Destroy();
  Impl& d = *impl_;
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    Destroy();
    return false;
  };
  if (!window) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
      // Started once and kept for the life of the process: shutting the video subsystem down
      // would unload the GL driver, and loading it again for every device costs time.
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail(SDL_GetError());
    }
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  if (!window) {
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    window = SDL_CreateWindow("zorvex", 0, 0, std::max(back_width, 1), std::max(back_height, 1),
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return fail(SDL_GetError());
    d.own_window = true;
  }
  d.window = window;
  d.context = SDL_GL_CreateContext(window);
  if (!d.context) return fail(SDL_GetError());
  if (SDL_GL_MakeCurrent(window, d.context) != 0) return fail(SDL_GetError());
  if (epoxy_gl_version() < 33) return fail("OpenGL 3.3 is not available");
  PinDriverModules();

  for (int v = 0; v < kGLProgramVariants; ++v) {
    if (!BuildProgram(d.programs[v], 1 << (v == 3 ? 3 : v), error)) {
      return fail(error ? *error : "shader");
    }
  }

  glGenVertexArrays(1, &d.vao);
  glBindVertexArray(d.vao);
  glGenBuffers(1, &d.vbo);
  glGenBuffers(1, &d.ibo);
  glBindBuffer(GL_ARRAY_BUFFER, d.vbo);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, d.ibo);
  const GLsizei stride = sizeof(GPUVertex);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<void*>(offsetof(GPUVertex, x)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<void*>(offsetof(GPUVertex, nx)));
  glEnableVertexAttribArray(2);
  // 0xAARRGGBB in memory is B, G, R, A: GL_BGRA as the size swizzles it to RGBA.
  glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<void*>(offsetof(GPUVertex, color)));
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<void*>(offsetof(GPUVertex, u)));
  glEnableVertexAttribArray(4);
  glVertexAttribIPointer(4, 1, GL_UNSIGNED_INT, stride,
                         reinterpret_cast<void*>(offsetof(GPUVertex, slot)));
  d.vertices.reserve(kMaxBatchVertices);
  d.indices.reserve(kMaxBatchVertices * 3);

  glGenSamplers(1, &d.sampler);
  for (int i = 0; i < kGLTextureSlots; ++i)
    glBindSampler(static_cast<GLuint>(i), d.sampler);
  d.ApplySampler();
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &d.max_texture_size);

  // Fixed parts of the pipeline.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);

  std::memcpy(d.world, kIdentity, sizeof d.world);
  std::memcpy(d.view, kIdentity, sizeof d.view);
  std::memcpy(d.proj, kIdentity, sizeof d.proj);
  d.uniform_version++;

  if (!d.BuildBackBuffer(back_width, back_height, depth)) {
    return fail("the back buffer cannot be created");
  }
  if (glGetError() != GL_NO_ERROR) return fail("OpenGL reported an error while starting");
  return true;
}

void CGLRenderer::Destroy() {
  Impl& d = *impl_;
  if (d.context) {
    SDL_GL_MakeCurrent(d.window, d.context);
    for (auto& [tex, fbo] : d.target_fbo)
      glDeleteFramebuffers(1, &fbo);
    for (auto& [tex, size] : d.tex_size) {
      GLuint t = tex;
      glDeleteTextures(1, &t);
    }
    if (d.back_fbo) glDeleteFramebuffers(1, &d.back_fbo);
    if (d.back_color) glDeleteRenderbuffers(1, &d.back_color);
    if (d.back_depth) glDeleteRenderbuffers(1, &d.back_depth);
    if (d.sampler) glDeleteSamplers(1, &d.sampler);
    if (d.vbo) glDeleteBuffers(1, &d.vbo);
    if (d.ibo) glDeleteBuffers(1, &d.ibo);
    if (d.vao) glDeleteVertexArrays(1, &d.vao);
    for (GLProgram& p : d.programs) {
      if (p.id) glDeleteProgram(p.id);
    }
    SDL_GL_MakeCurrent(d.window, nullptr);
    SDL_GL_DeleteContext(d.context);
  }
  if (d.own_window && d.window) SDL_DestroyWindow(d.window);
  impl_ = std::make_unique<Impl>();
}

bool CGLRenderer::Created() const {
  return impl_->context != nullptr;
}

bool CGLRenderer::ResetBackBuffer(int back_width, int back_height, bool depth) {
  Impl& d = *impl_;
  if (!d.context) return false;
  d.Flush();
  return d.BuildBackBuffer(back_width, back_height, depth);
}

int CGLRenderer::BackWidth() const {
  return impl_->back_width;
}
int CGLRenderer::BackHeight() const {
  return impl_->back_height;
}
bool CGLRenderer::HasDepth() const {
  return impl_->back_has_depth;
}

void CGLRenderer::SetSwapInterval(bool sync) {
  if (impl_->context) SDL_GL_SetSwapInterval(sync ? 1 : 0);
}

GLTextureHandle CGLRenderer::CreateTexture(int width, int height, bool render_target) {
  Impl& d = *impl_;
  if (!d.context || width < 1 || height < 1 || width > d.max_texture_size ||
      height > d.max_texture_size) {
    return 0;
  }
  GLuint tex = 0;
  glGenTextures(1, &tex);
  if (!tex) return 0;
  glActiveTexture(GL_TEXTURE0 + kGLTextureSlots);  // a unit the batcher never uses
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  // Texels outside what the owner loads stay transparent black.
  std::vector<uint32_t> zero(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               zero.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &tex);
    return 0;
  }
  d.tex_size[tex] = {width, height};
  if (render_target) {
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, tex, 0);
    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, d.FramebufferOf(d.current_target));
    if (!ok) {
      glDeleteFramebuffers(1, &fbo);
      glDeleteTextures(1, &tex);
      d.tex_size.erase(tex);
      return 0;
    }
    d.target_fbo[tex] = fbo;
  }
  return tex;
}

void CGLRenderer::FreeTexture(GLTextureHandle texture) {
  Impl& d = *impl_;
  if (!d.context || texture == 0) return;
  auto it = d.tex_size.find(texture);
  if (it == d.tex_size.end()) return;
  d.ForgetTexture(texture);
  if (d.current_target == texture) SetRenderTarget(0);
  auto f = d.target_fbo.find(texture);
  if (f != d.target_fbo.end()) {
    glDeleteFramebuffers(1, &f->second);
    d.target_fbo.erase(f);
  }
  GLuint t = texture;
  glDeleteTextures(1, &t);
  d.tex_size.erase(it);
}

bool CGLRenderer::UploadTexture(GLTextureHandle texture, int x, int y, int width, int height,
                                const uint32_t* pixels) {
  Impl& d = *impl_;
  if (!d.context) return false;
  auto it = d.tex_size.find(texture);
  if (it == d.tex_size.end() || x < 0 || y < 0 || width < 1 || height < 1 ||
      x + width > it->second.w || y + height > it->second.h) {
    return false;
  }
  d.ForgetTexture(texture);  // pending draws must see the old contents
  glActiveTexture(GL_TEXTURE0 + kGLTextureSlots);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                  pixels);
  glBindTexture(GL_TEXTURE_2D, 0);
  return glGetError() == GL_NO_ERROR;
}

int CGLRenderer::MaxTextureSize() const {
  return impl_->max_texture_size;
}

bool CGLRenderer::SetRenderTarget(GLTextureHandle target) {
  Impl& d = *impl_;
  if (!d.context) return false;
  int w = d.back_width, h = d.back_height;
  if (target != 0) {
    auto it = d.target_fbo.find(target);
    if (it == d.target_fbo.end()) return false;
    const auto& size = d.tex_size[target];
    w = size.w;
    h = size.h;
  }
  if (target == d.current_target) return true;
  d.Flush();
  d.ForgetTexture(target);  // a target is never sampled while drawn into
  d.current_target = target;
  glBindFramebuffer(GL_FRAMEBUFFER, d.FramebufferOf(target));
  // Like the old device, a new render target gets a viewport covering all of it.
  d.vp_x = d.vp_y = 0;
  d.vp_w = w;
  d.vp_h = h;
  d.ApplyViewport();
  return true;
}

GLTextureHandle CGLRenderer::RenderTarget() const {
  return impl_->current_target;
}

void CGLRenderer::SetViewport(int x, int y, int width, int height) {
  Impl& d = *impl_;
  if (!d.context) return;
  if (x == d.vp_x && y == d.vp_y && width == d.vp_w && height == d.vp_h) return;
  d.Flush();
  d.vp_x = x;
  d.vp_y = y;
  d.vp_w = width;
  d.vp_h = height;
  d.ApplyViewport();
}

void CGLRenderer::SetWorld(const float m[16]) {
  if (impl_->context) impl_->SetMatrix(impl_->world, m);
}

void CGLRenderer::SetView(const float m[16]) {
  if (impl_->context) impl_->SetMatrix(impl_->view, m);
}

void CGLRenderer::SetProjection(const float m[16]) {
  Impl& d = *impl_;
  if (!d.context) return;
  d.SetMatrix(d.proj, m);
  // Fog runs on eye w under a perspective projection (m34 = 1, m44 = 0), else on device z.
  bool w = m[11] != 0.0f && m[15] == 0.0f;
  if (w != d.fog_w) {
    d.Flush();
    d.fog_w = w;
    d.uniform_version++;
  }
}

void CGLRenderer::SetBlend(int32_t src, int32_t dest) {
  Impl& d = *impl_;
  if (!d.context) return;
  // The old device ignored factors it does not know.
  if (src < kGLBlendZero || src > kGLBlendSrcAlphaSat) return;
  if (dest < kGLBlendZero || dest > kGLBlendSrcAlphaSat) return;
  GLenum s = BlendFactorToGL(src), t = BlendFactorToGL(dest);
  if (src == d.blend_src && dest == d.blend_dest) return;
  d.Flush();
  d.blend_src = src;
  d.blend_dest = dest;
  // The same factors for colour and alpha, as the old device blended.
  glBlendFunc(s, t);
}

void CGLRenderer::SetCulling(bool cull_ccw) {
  Impl& d = *impl_;
  if (!d.context || cull_ccw == d.cull) return;
  d.Flush();
  d.cull = cull_ccw;
  if (cull_ccw) {
    glEnable(GL_CULL_FACE);
  } else {
    glDisable(GL_CULL_FACE);
  }
}

void CGLRenderer::SetLighting(bool on) {
  Impl& d = *impl_;
  if (!d.context || on == d.lighting) return;
  d.Flush();
  d.lighting = on;
  d.uniform_version++;
}

void CGLRenderer::SetLight(int index, const GLLight& l) {
  Impl& d = *impl_;
  if (!d.context || index < 0 || index >= 8) return;
  d.Flush();
  d.lights[index] = l;
  d.uniform_version++;
}

void CGLRenderer::EnableLight(int index, bool on) {
  Impl& d = *impl_;
  if (!d.context || index < 0 || index >= 8 || d.light_on[index] == on) return;
  d.Flush();
  d.light_on[index] = on;
  d.uniform_version++;
}

void CGLRenderer::SetFlatShading(bool flat) {
  Impl& d = *impl_;
  if (!d.context || flat == d.flat) return;
  d.Flush();
  d.flat = flat;
  d.uniform_version++;
}

void CGLRenderer::SetDepthTest(bool on) {
  Impl& d = *impl_;
  if (!d.context || on == d.depth_test) return;
  d.Flush();
  d.depth_test = on;
  if (on) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}

void CGLRenderer::SetAlphaTest(bool on) {
  Impl& d = *impl_;
  if (!d.context || on == d.alpha_test) return;
  d.Flush();
  d.alpha_test = on;
  d.uniform_version++;
}

void CGLRenderer::SetFog(bool on, uint32_t color, float start, float end) {
  Impl& d = *impl_;
  if (!d.context) return;
  if (on == d.fog && color == d.fog_color && start == d.fog_start && end == d.fog_end) return;
  d.Flush();
  d.fog = on;
  d.fog_color = color;
  d.fog_start = start;
  d.fog_end = end;
  d.uniform_version++;
}

void CGLRenderer::SetLinearFilter(bool linear) {
  Impl& d = *impl_;
  if (!d.context || linear == d.linear) return;
  d.Flush();
  d.linear = linear;
  d.ApplySampler();
}

void CGLRenderer::SetWrap(bool wrap) {
  Impl& d = *impl_;
  if (!d.context || wrap == d.wrap) return;
  d.Flush();
  d.wrap = wrap;
  d.ApplySampler();
}

void CGLRenderer::SetModulate(bool modulate) {
  Impl& d = *impl_;
  if (!d.context || modulate == d.modulate) return;
  d.Flush();
  d.modulate = modulate;
  d.uniform_version++;
}

void CGLRenderer::Clear(uint32_t color, bool target, bool depth) {
  Impl& d = *impl_;
  if (!d.context) return;
  d.Flush();
  GLbitfield mask = 0;
  if (target) mask |= GL_COLOR_BUFFER_BIT;
  if (depth && d.current_target == 0 && d.back_has_depth) mask |= GL_DEPTH_BUFFER_BIT;
  if (!mask) return;
  // The old device cleared only the viewport.
  glEnable(GL_SCISSOR_TEST);
  glScissor(d.vp_x, d.vp_y, d.vp_w, d.vp_h);
  glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f,
               static_cast<float>((color >> 8) & 0xFF) / 255.0f,
               static_cast<float>(color & 0xFF) / 255.0f,
               static_cast<float>((color >> 24) & 0xFF) / 255.0f);
  glClearDepth(1.0);
  glClear(mask);
  glDisable(GL_SCISSOR_TEST);
}

void CGLRenderer::Draw(int32_t kind, const GLVertex* v, int count, GLTextureHandle texture) {
  Impl& d = *impl_;
  if (!d.context || count <= 0 || kind < kGLPointList || kind > kGLTriangleFan) return;
  if (static_cast<size_t>(count) > kMaxBatchVertices) count = static_cast<int>(kMaxBatchVertices);
  GLenum mode = ModeOfKind(kind);
  if (mode != d.batch_mode || d.vertices.size() + static_cast<size_t>(count) > kMaxBatchVertices) {
    d.Flush();
    d.batch_mode = mode;
  }
  unsigned slot = d.SlotFor(texture);
  const size_t base = d.vertices.size();
  for (int i = 0; i < count; ++i) {
    const GLVertex& s = v[i];
    d.vertices.push_back({s.x, s.y, s.z, s.nx, s.ny, s.nz, s.color, s.u, s.v, slot});
  }
  auto idx = [&](int i) { return static_cast<uint16_t>(base + static_cast<size_t>(i)); };
  switch (kind) {
    case kGLPointList:
      for (int i = 0; i < count; ++i)
        d.indices.push_back(idx(i));
      break;
    case kGLLineList:
      for (int i = 0; i + 1 < count; i += 2) {
        d.indices.push_back(idx(i));
        d.indices.push_back(idx(i + 1));
      }
      break;
    case kGLLineStrip:
      for (int i = 0; i + 1 < count; ++i) {
        d.indices.push_back(idx(i));
        d.indices.push_back(idx(i + 1));
      }
      break;
    case kGLTriangleList:
      for (int i = 0; i + 2 < count; i += 3) {
        d.indices.push_back(idx(i));
        d.indices.push_back(idx(i + 1));
        d.indices.push_back(idx(i + 2));
      }
      break;
    case kGLTriangleStrip:
      // Odd triangles are reordered to keep one winding; each starts at its first vertex so
      // that flat shading takes the colour the old pipeline took.
      for (int i = 0; i + 2 < count; ++i) {
        d.indices.push_back(idx(i));
        d.indices.push_back(idx(i % 2 == 0 ? i + 1 : i + 2));
        d.indices.push_back(idx(i % 2 == 0 ? i + 2 : i + 1));
      }
      break;
    case kGLTriangleFan:
      // (v0, vi, vi+1) rotated to start at vi: same winding, flat colour of vi.
      for (int i = 1; i + 1 < count; ++i) {
        d.indices.push_back(idx(i));
        d.indices.push_back(idx(i + 1));
        d.indices.push_back(idx(0));
      }
      break;
  }
}

void CGLRenderer::DrawQuad(const GLVertex v[4], GLTextureHandle texture) {
  Impl& d = *impl_;
  if (!d.context) return;
  if (d.batch_mode != GL_TRIANGLES || d.vertices.size() + 4 > kMaxBatchVertices) {
    d.Flush();
    d.batch_mode = GL_TRIANGLES;
  }
  unsigned slot = d.SlotFor(texture);
  const uint16_t b = static_cast<uint16_t>(d.vertices.size());
  for (int i = 0; i < 4; ++i) {
    const GLVertex& s = v[i];
    d.vertices.push_back({s.x, s.y, s.z, s.nx, s.ny, s.nz, s.color, s.u, s.v, slot});
  }
  const uint16_t q[6] = {static_cast<uint16_t>(b + 1), static_cast<uint16_t>(b + 2), b,
                         static_cast<uint16_t>(b + 2), static_cast<uint16_t>(b + 3), b};
  d.indices.insert(d.indices.end(), q, q + 6);
}

void CGLRenderer::Flush() {
  if (impl_->context) impl_->Flush();
}

bool CGLRenderer::ReadPixels(int x, int y, int width, int height, uint32_t* out, bool from_target) {
  Impl& d = *impl_;
  if (!d.context || width < 1 || height < 1 || x < 0 || y < 0) return false;
  GLuint target = from_target ? d.current_target : 0;
  int tw = d.back_width, th = d.back_height;
  if (target) {
    const auto& size = d.tex_size[target];
    tw = size.w;
    th = size.h;
  }
  if (x + width > tw || y + height > th) return false;
  d.Flush();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, d.FramebufferOf(target));
  glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, out);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, d.FramebufferOf(d.current_target));
  return glGetError() == GL_NO_ERROR;
}

bool CGLRenderer::ReadTexturePixels(GLTextureHandle texture, int x, int y, int width, int height,
                                    uint32_t* out) {
  Impl& d = *impl_;
  if (!d.context || width < 1 || height < 1 || x < 0 || y < 0) return false;
  auto it = d.target_fbo.find(texture);
  if (it == d.target_fbo.end()) return false;
  const auto& size = d.tex_size[texture];
  if (x + width > size.w || y + height > size.h) return false;
  d.Flush();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, it->second);
  glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, out);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, d.FramebufferOf(d.current_target));
  return glGetError() == GL_NO_ERROR;
}

bool CGLRenderer::CopyTextureRect(GLTextureHandle dest, int dx, int dy, GLTextureHandle src, int sx,
                                  int sy, int width, int height) {
  Impl& d = *impl_;
  if (!d.context || width < 1 || height < 1) return false;
  auto s = d.target_fbo.find(src);
  auto t = d.target_fbo.find(dest);
  if (s == d.target_fbo.end() || t == d.target_fbo.end()) return false;
  d.Flush();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, s->second);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, t->second);
  glBlitFramebuffer(sx, sy, sx + width, sy + height, dx, dy, dx + width, dy + height,
                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, d.FramebufferOf(d.current_target));
  return glGetError() == GL_NO_ERROR;
}

bool CGLRenderer::Present(int src_width, int src_height, int dest_x, int dest_y, int dest_width,
                          int dest_height, uint32_t window_color) {
  Impl& d = *impl_;
  if (!d.context) return false;
  d.Flush();
  int ww = 0, wh = 0;
  SDL_GL_GetDrawableSize(d.window, &ww, &wh);
  src_width = std::clamp(src_width, 0, d.back_width);
  src_height = std::clamp(src_height, 0, d.back_height);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, d.back_fbo);
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, ww, wh);
  glClearColor(static_cast<float>((window_color >> 16) & 0xFF) / 255.0f,
               static_cast<float>((window_color >> 8) & 0xFF) / 255.0f,
               static_cast<float>(window_color & 0xFF) / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  if (src_width > 0 && src_height > 0 && dest_width > 0 && dest_height > 0) {
    // The window's rows run bottom-up: flip while copying. Whole-number factors keep pixels
    // sharp; other factors are smoothed.
    bool whole = dest_width % src_width == 0 && dest_height % src_height == 0;
    glBlitFramebuffer(0, 0, src_width, src_height, dest_x, wh - dest_y, dest_x + dest_width,
                      wh - dest_y - dest_height, GL_COLOR_BUFFER_BIT,
                      whole ? GL_NEAREST : GL_LINEAR);
  }
  SDL_GL_SwapWindow(d.window);
  glBindFramebuffer(GL_FRAMEBUFFER, d.FramebufferOf(d.current_target));
  d.ApplyViewport();
  return glGetError() == GL_NO_ERROR;
}

void CGLRenderer::WindowSize(int& width, int& height) const {
  width = height = 0;
  if (impl_->window) SDL_GL_GetDrawableSize(impl_->window, &width, &height);
}

const GLStats& CGLRenderer::Stats() const {
  return impl_->stats;
}

void CGLRenderer::ResetStats() {
  impl_->stats = GLStats();
}

}  // namespace zorvex
