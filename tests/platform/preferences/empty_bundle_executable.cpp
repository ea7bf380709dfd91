// The executable of a test bundle: nothing in it, so loading the bundle succeeds and the page
// classes come from the test program.
