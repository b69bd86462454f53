// Placeholder so the library target exists before its first real source.
namespace vq {
int browser_anchor = 0;
}
