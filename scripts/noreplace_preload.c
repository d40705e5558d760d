// Preloaded into Wine's 32-bit processes when they run under qemu-user.
// qemu 7.2 ignores MAP_FIXED_NOREPLACE and places such a mapping elsewhere,
// where Wine expects either the address it asked for or EEXIST (without
// that, its loader fails with "failed to map the shared user data"). These
// wrappers give Wine what the kernel would: a mapping that did not land at
// its address is undone and reported as EEXIST.
//
// Built with `gcc -m32 -nostdlib`: system calls are made directly, so no
// 32-bit C library headers or packages are needed. errno is reached through
// the C library already loaded in the process.

#define MAP_FIXED_NOREPLACE 0x100000
#define SYS_munmap 91
#define SYS_mmap2 192
#define EINVAL 22
#define EEXIST 17
#define PAGE_SIZE 4096UL

extern int* __errno_location(void);

// mmap2 takes six arguments in ebx, ecx, edx, esi, edi and ebp; ebx and
// ebp are saved by hand since the compiler may use them itself.
static long sys_mmap2(void* addr, unsigned long length, int prot, int flags, int fd,
                      unsigned long page_offset) {
  long ret;
  unsigned long outer[2] = {(unsigned long)addr, page_offset};
  __asm__ volatile(
      "push %%ebp\n\t"
      "push %%ebx\n\t"
      "mov 4(%%eax), %%ebp\n\t"
      "mov 0(%%eax), %%ebx\n\t"
      "mov %[nr], %%eax\n\t"
      "int $0x80\n\t"
      "pop %%ebx\n\t"
      "pop %%ebp"
      : "=a"(ret)
      : "a"(outer), "c"(length), "d"(prot), "S"(flags), "D"(fd), [nr] "i"(SYS_mmap2)
      : "memory");
  return ret;
}

static long sys_munmap(void* addr, unsigned long length) {
  long ret;
  __asm__ volatile(
      "push %%ebx\n\t"
      "mov %%edx, %%ebx\n\t"
      "int $0x80\n\t"
      "pop %%ebx"
      : "=a"(ret)
      : "a"(SYS_munmap), "d"(addr), "c"(length)
      : "memory");
  return ret;
}

static void* fail(int error) {
  *__errno_location() = error;
  return (void*)-1;
}

static void* map(void* addr, unsigned long length, int prot, int flags, int fd,
                 unsigned long long offset) {
  // Wine reads sections at offsets that are not page-aligned when mmap refuses them.
  if (offset % PAGE_SIZE) return fail(EINVAL);
  long ret = sys_mmap2(addr, length, prot, flags, fd, (unsigned long)(offset / PAGE_SIZE));
  if ((unsigned long)ret > -PAGE_SIZE) return fail((int)-ret);
  if ((flags & MAP_FIXED_NOREPLACE) && (void*)ret != addr) {
    sys_munmap((void*)ret, length);
    return fail(EEXIST);
  }
  return (void*)ret;
}

void* mmap(void* addr, unsigned long length, int prot, int flags, int fd, long offset) {
  return map(addr, length, prot, flags, fd, (unsigned long)offset);
}

void* mmap64(void* addr, unsigned long length, int prot, int flags, int fd, long long offset) {
  return map(addr, length, prot, flags, fd, (unsigned long long)offset);
}
