// Placeholder so the library target exists before its first real source.
namespace vq {
int catalog_anchor = 0;
}
