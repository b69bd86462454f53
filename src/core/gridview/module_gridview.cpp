// Placeholder so the library target exists before its first real source.
namespace vq {
int gridview_anchor = 0;
}
