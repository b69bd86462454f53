// Placeholder so the library target exists before its first real source.
namespace vq {
int import_anchor = 0;
}
