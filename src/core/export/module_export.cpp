// Placeholder so the library target exists before its first real source.
namespace vq {
int export_anchor = 0;
}
