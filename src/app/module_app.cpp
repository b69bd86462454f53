// Placeholder so the library target exists before its first real source.
namespace vq {
int app_anchor = 0;
}
