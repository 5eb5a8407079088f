# The fuzz targets, one per reader of outside data and one for the saves' own deflate:
# fuzz/fuzz_<name>.cpp. The fuzz build makes a libFuzzer program of each; the test run replays
# the inputs kept under tests/fuzz/<name>/.
set(QJ_FUZZ_TARGETS bmp jpeg exif png puzzle savedgame savedzip score shape coord layout settings language
  selectorlayout deflate)
