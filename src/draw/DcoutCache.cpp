// Pens and brushes cached by colour, the screen rectangle, and solid fills.
#include "draw/Dcout.h"
#include "system/Memory.h"

RECT ScreenRect = {0, 0, 0, 0};

namespace {

// One cached object; entries are kept oldest first.
struct CacheEntry {
  COLORREF Color;
  HGDIOBJ Handle;
};

TMem_Array PenCache(DC_CACHESIZE, sizeof(CacheEntry), MEM_DEFAULT);
TMem_Array BrushCache(DC_CACHESIZE, sizeof(CacheEntry), MEM_DEFAULT);

HGDIOBJ NewPen(COLORREF color) { return CreatePen(PS_SOLID, 1, color); }
HGDIOBJ NewBrush(COLORREF color) { return CreateSolidBrush(color); }

// The cached object of that colour, or a new one that evicts the oldest from a full cache.
// A creation the system refuses is not cached (a cached 0 would be recreated on every
// lookup and never evicted, leaking one object per paint).
HGDIOBJ Lookup(TMem_Array& cache, COLORREF color, HGDIOBJ (*create)(COLORREF)) {
  const CacheEntry* entries = cache.Items<CacheEntry>();
  for (int32_t i = 0; i < cache.Count; ++i) {
    if (entries[i].Color == color) return entries[i].Handle;
  }
  const HGDIOBJ handle = create(color);
  if (!handle) return nullptr;
  if (cache.Count >= DC_CACHESIZE) {
    DeleteObject(cache.Items<CacheEntry>()[0].Handle);
    ArrDelete(cache, 0, 1);
  }
  const CacheEntry entry{color, handle};
  if (ArrAppend(cache, &entry) < 0) {
    DeleteObject(handle);  // no memory for the entry: nobody would own the object
    return nullptr;
  }
  return handle;
}

void EmptyCache(TMem_Array& cache) {
  const CacheEntry* entries = cache.Items<CacheEntry>();
  for (int32_t i = 0; i < cache.Count; ++i) DeleteObject(entries[i].Handle);
  ArrInit(cache, DC_CACHESIZE, sizeof(CacheEntry), MEM_DEFAULT);
}

}  // namespace

void DcoutStartup() {
  EmptyCache(PenCache);
  EmptyCache(BrushCache);
  const HDC screen = GetDC(nullptr);
  SetRectLTRB(0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES), ScreenRect);
  ReleaseDC(nullptr, screen);
}

void DcoutShutdown() {
  EmptyCache(PenCache);
  EmptyCache(BrushCache);
}

HPEN GetPen(COLORREF color) { return static_cast<HPEN>(Lookup(PenCache, color, NewPen)); }

HBRUSH GetBrush(COLORREF color) { return static_cast<HBRUSH>(Lookup(BrushCache, color, NewBrush)); }

void FillRectColor(HDC dc, const RECT& rect, COLORREF color) {
  FillRect(dc, &rect, GetBrush(color));
}
