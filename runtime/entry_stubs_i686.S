# The program's call stubs for the entry slots that take a value in a register.
        .intel_syntax noprefix
        .text

# void velmora_invoke_command_entry(entry, command, library, argCount, args, result)
# Pushes the records (argument 1 ends at the lowest address) and the count, puts the command in
# eax and the library index in ecx, calls the entry and stores eax, edx, ecx into *result.
        .globl  _velmora_invoke_command_entry
_velmora_invoke_command_entry:
        push    ebp
        mov     ebp, esp
        push    esi
        push    edi
        mov     ecx, [ebp+20]
        lea     ecx, [ecx+ecx*2]
        shl     ecx, 2
        sub     esp, ecx
        mov     edi, esp
        mov     esi, [ebp+24]
        rep movsb
        push    dword ptr [ebp+20]
        mov     eax, [ebp+12]
        mov     ecx, [ebp+16]
        call    dword ptr [ebp+8]
        mov     esi, [ebp+28]
        mov     [esi], eax
        mov     [esi+4], edx
        mov     [esi+8], ecx
        lea     esp, [ebp-8]
        pop     edi
        pop     esi
        pop     ebp
        ret

# uintptr_t velmora_invoke_runtime_service(entry, service, argument)
        .globl  _velmora_invoke_runtime_service
_velmora_invoke_runtime_service:
        push    ebp
        mov     ebp, esp
        push    dword ptr [ebp+16]
        mov     eax, [ebp+12]
        call    dword ptr [ebp+8]
        leave
        ret

# void velmora_reset_floating_point()
        .globl  _velmora_reset_floating_point
_velmora_reset_floating_point:
        fninit
        cld
        ret
