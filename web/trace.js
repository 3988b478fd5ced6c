// trace=1: the trace of live play, one "FRAME STATE" line per frame as --trace writes it, kept in
// window.taviTrace, a string that grows as the frames are played. (A demo's trace comes whole when
// the demo has ended.)
if (params.get('trace') === '1' && !params.has('demo')) {
  args.push('--trace', '/trace.txt');
  window.taviTrace = '';
  let read = 0;
  Module.onTaviTraced = () => {
    const size = FS.stat('/trace.txt').size;
    if (size <= read) return;
    const bytes = new Uint8Array(size - read);
    const stream = FS.open('/trace.txt', 'r');
    try {
      FS.read(stream, bytes, 0, bytes.length, read);
    } finally {
      FS.close(stream);
    }
    const whole = bytes.lastIndexOf(10) + 1;  // a line still being written waits for its end
    window.taviTrace += new TextDecoder().decode(bytes.subarray(0, whole));
    read += whole;
  };
}
