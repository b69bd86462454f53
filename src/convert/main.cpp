// vidoteq-convert: an old Access catalog read and brought over in a process of its own, so that a
// damaged file that makes libmdb loop or take ever more memory ends at the limits the caller set on
// this process. The caller makes the new file empty, names it when this succeeds, and removes it
// otherwise.
#include "convert/convertworker.h"

int main(int argc, char **argv) {
    return vq::convert::convertWorkerMain(argc, argv);
}
