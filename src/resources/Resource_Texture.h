// What sprites, backgrounds and fonts need of the drawing device: textures made from their pixels
// and freed again. The device implements ITextureMaker; a resource attached to one makes its
// textures itself whenever its pixels change, as the resource operations require, and frees them
// when they are remade, cleared or destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvex {

class CBitmap32;

class ITextureMaker {
 public:
  virtual ~ITextureMaker() = default;
  // A texture of the image's pixels; -1 when none can be made. `preload` asks for it to be moved
  // into video memory at once.
  virtual int32_t MakeTexture(const CBitmap32& image, bool preload) = 0;
  // White pixels with the given alpha (font glyph sheets); -1 when none can be made.
  virtual int32_t MakeAlphaTexture(int32_t width, int32_t height, const uint8_t* alpha) = 0;
  virtual void FreeTexture(int32_t id) = 0;
};

// The texture ids one resource owns, with the maker that made them. Copies own nothing: a copy
// keeps (or takes, when constructed) the maker but starts without textures, and assigning frees
// the target's textures and keeps its maker, so an id is never freed twice.
class CTextureIds {
 public:
  CTextureIds() = default;
  CTextureIds(const CTextureIds& other) : maker_(other.maker_) {}
  CTextureIds& operator=(const CTextureIds& other) {
    if (this != &other) Free();
    return *this;
  }
  ~CTextureIds() { Free(); }

  ITextureMaker* maker() const { return maker_; }
  // Frees what the old maker made; the owner makes its textures again.
  void SetMaker(ITextureMaker* maker) {
    Free();
    maker_ = maker;
  }

  // Frees every texture; no ids remain.
  void Free() {
    if (maker_)
      for (int32_t id : ids_)
        if (id >= 0) maker_->FreeTexture(id);
    ids_.clear();
  }
  // Appends the texture of an image (-1 without a maker).
  void AddImage(const CBitmap32& image, bool preload) {
    ids_.push_back(maker_ ? maker_->MakeTexture(image, preload) : -1);
  }
  void AddAlpha(int32_t width, int32_t height, const uint8_t* alpha) {
    ids_.push_back(maker_ ? maker_->MakeAlphaTexture(width, height, alpha) : -1);
  }
  void AddNone() { ids_.push_back(-1); }

  size_t Size() const { return ids_.size(); }
  int32_t At(size_t i) const { return i < ids_.size() ? ids_[i] : -1; }
  const std::vector<int32_t>& Ids() const { return ids_; }

  // Textures are made from a resource's data and are no part of it: resources with the same
  // data are equal whichever textures they hold.
  bool operator==(const CTextureIds&) const { return true; }

 private:
  ITextureMaker* maker_ = nullptr;
  std::vector<int32_t> ids_;
};

}  // namespace zorvex
