// Off-screen surfaces: pixel access, copies, loading, and the list of every live surface.
#include "platform/Surface.h"

#include <cstring>
#include <vector>

#include "platform/Dib.h"

namespace qj {
namespace {

// Freed surfaces leave holes that are squeezed out lazily, so freeing thousands of sprites
// does not cost a shift of the whole list per surface.
// Only the game's own thread makes surfaces (the cutter's helper threads make bitmaps, never
// surfaces), so the list has no lock.
struct TLiveList {
  std::vector<TSurface*> Items;
  size_t Holes = 0;
};

TLiveList& LiveList() {
  // Never destroyed: surfaces with static lifetime may outlive any ordinary static.
  static TLiveList* list = new TLiveList;
  return *list;
}

}  // namespace

TSurface::TSurface() { Register(this); }

TSurface::TSurface(int width, int height) : TPixelBuffer(width, height) { Register(this); }

TSurface::TSurface(const TSurface& other)
    : TPixelBuffer(other),
      FSystemMemory(other.FSystemMemory),
      FHasClipper(other.FHasClipper),
      FClip(other.FClip) {
  Register(this);
}

TSurface& TSurface::operator=(const TSurface& other) {
  if (this == &other) return *this;
  TPixelBuffer::operator=(other);
  FSystemMemory = other.FSystemMemory;
  FHasClipper = other.FHasClipper;
  FClip = other.FClip;
  return *this;
}

TSurface::~TSurface() { Unregister(this); }

void TSurface::Register(TSurface* surface) {
  TLiveList& list = LiveList();
  surface->FLiveIndex = list.Items.size();
  list.Items.push_back(surface);
}

void TSurface::Unregister(TSurface* surface) {
  TLiveList& list = LiveList();
  list.Items[surface->FLiveIndex] = nullptr;
  ++list.Holes;
  if (list.Holes > 256 && list.Holes * 2 > list.Items.size()) SqueezeLiveList();
}

void TSurface::SqueezeLiveList() {
  TLiveList& list = LiveList();
  size_t kept = 0;
  for (TSurface* s : list.Items) {
    if (!s) continue;
    s->FLiveIndex = kept;
    list.Items[kept++] = s;
  }
  list.Items.resize(kept);
  list.Holes = 0;
}

size_t TSurface::LiveCount() {
  const TLiveList& list = LiveList();
  return list.Items.size() - list.Holes;
}

TSurface* TSurface::LiveItem(size_t index) {
  if (LiveList().Holes > 0) SqueezeLiveList();
  const TLiveList& list = LiveList();
  return index < list.Items.size() ? list.Items[index] : nullptr;
}

TRect TSurface::DrawArea() const { return FHasClipper ? Intersect(FClip, Bounds()) : Bounds(); }

bool TSurface::ReadPixel(int x, int y, TPixel& out) const {
  if (!InBounds(x, y)) return false;
  out = At(x, y);
  return true;
}

void TSurface::CopyFrom(const TPixelBuffer& source) {
  if (&source == this) return;
  ResizeUninitialised(source.Width(), source.Height());
  if (!source.Empty()) std::memcpy(Bits(), source.Bits(), source.ByteSize());
}

bool TSurface::LoadFromFile(const std::string& path) {
  TMyDib dib;
  if (!dib.LoadFromFile(path)) return false;
  CopyFrom(dib);
  return true;
}

}  // namespace qj
