// Placeholder so the library target exists before its first real source.
namespace vq {
int intake_anchor = 0;
}
