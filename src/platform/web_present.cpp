#include "platform/web_present.h"

#include <emscripten.h>

#include "base/frame_size.h"

// The canvas context is looked up once, and the picture handed over without copying it in
// JavaScript: the ImageData is a view of the program's memory, made again only when the memory
// has grown (which replaces its buffer).
EM_JS(void, WebPutFrame, (const unsigned char* rgba, int width, int height), {
  let present = Module.taviPresent;
  if (!present || present.buffer !== HEAPU8.buffer || present.at !== rgba) {
    const canvas = document.getElementById('canvas');
    // The canvas is made the frame's size here, so that the size is written down once.
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    present = Module.taviPresent = {canvas: canvas, context: canvas.getContext('2d', {alpha: false}),
                                    image: new ImageData(pixels, width, height), buffer: HEAPU8.buffer, at: rgba};
  }
  present.context.putImageData(present.image, 0, 0);
  if (Module.onTaviFrame) Module.onTaviFrame(present.canvas);
});

// Whether the frame about to be shown goes onto the canvas: the page may leave out frames of a run
// as fast as it goes that nobody could see (Module.taviFrameWanted); it is told of each frame all
// the same.
EM_JS(int, WebFrameWanted, (), {
  if (!Module.taviFrameWanted || Module.taviFrameWanted()) return 1;
  if (Module.onTaviFrame) Module.onTaviFrame(document.getElementById('canvas'));
  return 0;
});

namespace tavi {

void WebPresenter::Present(const Image& frame) {
  if (frame.Width() != FrameWidth || frame.Height() != FrameHeight || !WebFrameWanted()) return;
  constexpr std::size_t n = static_cast<std::size_t>(FrameWidth) * FrameHeight;
  if (!rgba_) rgba_.reset(new std::uint32_t[n]);
  // 0x00RRGGBB to the bytes R, G, B, 255: wasm is little-endian, so a word 0xFFBBGGRR.
  const Pixel* in = frame.Pixels().data();
  std::uint32_t* out = rgba_.get();
  for (std::size_t i = 0; i < n; ++i) {
    const Pixel p = in[i];
    out[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
  }
  WebPutFrame(reinterpret_cast<const unsigned char*>(rgba_.get()), FrameWidth, FrameHeight);
}

}  // namespace tavi
